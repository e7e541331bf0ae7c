#pragma once
// The system's WebBrowser control as a pane: hosted in place in a window of ours through a
// small hand-written site (client site, in-place site and frame, document host for the context
// menu), its events taken from DWebBrowserEvents2. Where the system cannot render pages the
// link-list pane takes its place (see WebBrowserRendersPages).
#include <windows.h>

#include <memory>
#include <string>

#include "common/win32/com.h"
#include "common/win32/window_base.h"
#include "play/win32/pane_window_win32.h"

struct IWebBrowser2;
class WebBrowserSite;

class WebBrowserPane final : public PaneWindow, private WindowBase {
 public:
  // nullptr when the control cannot be created or activated.
  static std::unique_ptr<WebBrowserPane> Create(HWND parent, ControlName name, BrowserPaneEvents& events);
  ~WebBrowserPane() override;

  HWND hwnd() const override { return hwnd_; }
  void Navigate(std::u16string_view address) override;
  void Refresh() override;
  void GoBack() override;
  void GoForward() override;
  void Copy() override;
  void Paste() override;
  void SetSilent(bool silent) override;
  std::u16string LocationUrl() const override;

 private:
  friend bool WebBrowserRendersPages(unsigned limit_ms);
  WebBrowserPane() = default;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  ComPtr<WebBrowserSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<IWebBrowser2> browser_;
};

// Whether the system's web control really completes a page here: a small local page is loaded
// in a hidden control and the result awaited for up to `limit_ms` (window events keep running).
bool WebBrowserRendersPages(unsigned limit_ms);
inline constexpr unsigned kPaneProbeMs = 4000;

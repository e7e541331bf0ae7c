#pragma once
// The built-in browser pane for where the system's web control cannot render pages: it
// fetches the page (http or a file, on a helper thread), lists its links as rows (the
// anchor's text or an image's alt text), and follows a row when it is clicked. It raises the
// same events as a browser would and keeps a back and forward history.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "common/win32/unique_handle.h"
#include "common/win32/window_base.h"
#include "play/panes/link_page.h"
#include "play/panes/pane_history.h"
#include "play/win32/pane_window_win32.h"

class LinkListPane final : public PaneWindow, private WindowBase {
 public:
  LinkListPane(HWND parent, ControlName name, BrowserPaneEvents& events);
  ~LinkListPane() override;
  LinkListPane(const LinkListPane&) = delete;
  LinkListPane& operator=(const LinkListPane&) = delete;

  HWND hwnd() const override { return hwnd_; }
  const LinkPage& page() const { return page_; }

  void Navigate(std::u16string_view address) override;
  void Refresh() override;
  void GoBack() override;
  void GoForward() override;
  void Copy() override;
  void Paste() override;
  void SetSilent(bool silent) override { silent_ = silent; }
  std::u16string LocationUrl() const override { return location_; }

 private:
  struct Fetch;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  // Loads without asking the host first (history moves and refreshes).
  void Load(const std::u16string& address, bool record);
  void Show(const std::u16string& address, const std::string& bytes, bool record);
  void Fail(const std::u16string& address, long status);
  void Follow(int row);
  void MakeList();
  void DrawRow(const DRAWITEMSTRUCT& item);

  // Made with the first page that has links: the list box's class loads the common controls,
  // which the window's first paint does not need, and an empty pane needs no second window.
  HWND list_ = nullptr;
  UniqueFont font_;
  ControlName name_;
  BrowserPaneEvents& events_;
  std::u16string location_;
  LinkPage page_;
  // Per row of the page: its label as drawn, and its width in the list's font (-1 until first
  // drawn). A live resize redraws every row at each step: a label that fits is drawn as it is,
  // and only one that does not is measured again to be cut with an ellipsis.
  std::vector<std::wstring> labels_;
  std::vector<int> label_widths_;
  int font_height_ = 0;
  PaneHistory history_;
  bool silent_ = false;
  std::shared_ptr<std::atomic<bool>> alive_;
  unsigned generation_ = 0;  // only the newest fetch may show its page
};

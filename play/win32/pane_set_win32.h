#pragma once
// The main window's browser panes: which kind they are (the system's web control where it
// renders pages, else the built-in link-list pane), where they sit, and the address each
// was last sent to. The panes' events go to the window's handlers.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "play/model/control.h"
#include "play/ports/browser_pane.h"
#include "play/ports/window_host.h"
#include "play/win32/pane_window_win32.h"

enum class PaneKind { kWebBrowser, kLinkList };

// VEXO_PANE=webbrowser or linklist chooses without asking the system. Otherwise the web
// control is used only where it can render: not at all when the HTML engine cannot even be
// created (decided at once), else by the verdict remembered for this machine's engine, or by
// a probe whose verdict is then remembered.
PaneKind ChoosePaneKind();

class PaneSet final : public BrowserPanes {
 public:
  PaneSet(PaneKind kind, BrowserPaneEvents& events) : kind_(kind), events_(events) {}
  PaneSet(const PaneSet&) = delete;
  PaneSet& operator=(const PaneSet&) = delete;

  // Creates the pane on first sight, then keeps it where the model places it; `showing` when
  // it and its containers are visible. A pane not showing is moved once it shows, and so must
  // be placed again then.
  void Place(const Control& control, HWND container, bool showing);
  void Clear() {
    held_.clear();
    unmade_.clear();
    showing_.clear();
    panes_.clear();
  }
  // From Hold until Release, a pane that is not showing is not made yet and keeps the last
  // address it is sent to instead of loading it, so that the window's first paint waits for no
  // pane nobody sees yet. A held pane is made and loads when it is refreshed or moved in its
  // history, and, through LoadHeldShowing (called once the window has been placed), when it
  // shows. Release makes the rest and loads what they hold.
  void HoldHiddenNavigations() { holding_ = true; }
  // Ends the hold and makes one pane put off, or loads one held address: false when nothing
  // was left. A window releases them one at a time, with its input handled in between.
  bool ReleaseOne();
  void ReleaseHeldNavigations();
  void LoadHeldShowing();
  PaneWindow* Find(std::u16string_view name);
  bool uses_web_browser() const { return kind_ == PaneKind::kWebBrowser; }
  const std::map<std::u16string, std::u16string>& addresses() const { return addresses_; }

  // BrowserPanes
  void Navigate(ControlName pane, std::u16string_view address) override;
  void Refresh(ControlName pane) override;
  void GoBack(ControlName pane) override;
  void GoForward(ControlName pane) override;
  void Copy(ControlName pane) override;
  void Paste(ControlName pane) override;
  void SetSilent(ControlName pane, bool silent) override;

 private:
  // The pane's held address, loaded now; false when none is held.
  bool LoadHeld(std::u16string_view name);
  bool Showing(std::u16string_view name) const;
  // The pane, made now if it was put off.
  PaneWindow* FindOrMake(std::u16string_view name);
  PaneWindow& Make(const Control& control, HWND container);
  static void Position(PaneWindow& pane, const Control& control);

  PaneKind kind_;
  BrowserPaneEvents& events_;
  bool holding_ = false;
  std::vector<std::pair<std::u16string, std::u16string>> held_;  // pane, address; in the order asked
  std::map<std::u16string, std::unique_ptr<PaneWindow>, std::less<>> panes_;
  // The panes put off while holding, with their last place.
  std::map<std::u16string, std::pair<Control, HWND>, std::less<>> unmade_;
  std::map<std::u16string, bool, std::less<>> showing_;  // as last placed
  std::map<std::u16string, std::u16string> addresses_;
};

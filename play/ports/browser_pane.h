#pragma once
// A browser pane of the main window, and the events it raises.
#include <string>
#include <string_view>

#include "play/model/control.h"

class BrowserPaneEvents {
 public:
  virtual ~BrowserPaneEvents() = default;
  // Before the pane leaves for `address`; setting `cancel` keeps it where it is.
  virtual void BeforeNavigate(ControlName pane, std::u16string_view address, bool& cancel) = 0;
  virtual void DownloadBegin(ControlName pane) = 0;
  virtual void DownloadComplete(ControlName pane) = 0;
  // The page at `address` could not be shown (`status`: an HTTP status or a system error).
  virtual void NavigateError(ControlName pane, std::u16string_view address, long status) = 0;
  // A right click, with the address of the link under the pointer (empty when none).
  virtual void ContextMenu(ControlName pane, std::u16string_view link) = 0;
};

class BrowserPane {
 public:
  virtual ~BrowserPane() = default;
  virtual void Navigate(std::u16string_view address) = 0;
  virtual void Refresh() = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  // The page's selection to the clipboard, and the clipboard into the page's focused field.
  virtual void Copy() = 0;
  virtual void Paste() = 0;
  virtual void SetSilent(bool silent) = 0;
  virtual std::u16string LocationUrl() const = 0;
};

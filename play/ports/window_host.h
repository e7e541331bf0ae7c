#pragma once
// What the main window's handlers ask of the system around the window itself.
#include <string_view>

#include "common/pixel_rect.h"
#include "play/model/control.h"

// The size a label's caption takes in the window's font, in pixels.
struct TextExtent {
  long width = 0;
  long height = 0;
};

class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // The desktop work area (the screen without the task bar).
  virtual PixelRect WorkArea() = 0;
  // A maximized window covers exactly this size, from the top-left corner.
  virtual void InstallMaxSizeHook(long max_width, long max_height) = 0;
  // The borderless window can still be minimized and restored from the task bar.
  virtual void AddMinimizeMaximizeBoxes() = 0;
  // Hides and shows the window again (to the front), restoring it when minimized.
  virtual void BringToFront() = 0;
  // Lets pending window events run in the middle of a handler.
  virtual void LetPendingEventsRun() = 0;
  virtual void AddTrayIcon(std::u16string_view tool_tip) = 0;
  // A balloon message on the notification-area icon.
  virtual void TrayBalloon(std::u16string_view text) = 0;
  // An OK message box with this text.
  virtual void MessageOk(std::u16string_view text) = 0;
  // A question with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(std::u16string_view text, std::u16string_view title) = 0;
  // Opens a folder in the file manager, in a normal window.
  virtual void OpenFolder(std::u16string_view folder) = 0;
  // Puts the window into the top-most band or takes it out, keeping its place and size.
  virtual void SetTopmost(bool topmost) = 0;
  // The whole screen, in pixels.
  virtual PixelRect Screen() = 0;
  // Minimises (0), maximises (2) or restores (1) the window.
  virtual void ShowState(int state) = 0;
  // The size of a single-line caption in the labels' font, so that the layout can place an
  // auto-sized label by the text it is given now.
  virtual TextExtent MeasureCaption(std::u16string_view caption) = 0;

  // The exit's steps that reach beyond the window.
  // Takes the program's icon out of the notification area.
  virtual void RemoveTrayIcon() = 0;
  // Passes the pointer over the notification area, so that the shell drops the icons of
  // processes that are gone.
  virtual void SweepTrayIcons() = 0;
  // Opens a web address with the shell, hidden; the caller has checked that it is one.
  virtual void OpenAddress(std::u16string_view address) = 0;
  // Ends the program's own process at once (a hung request must not keep it alive).
  virtual void EndProcessNow() = 0;
  // Unloads the program's windows; the program ends when the last one is gone.
  virtual void UnloadWindows() = 0;
  // Whether the window is minimized, and whether it is shown.
  virtual bool Minimized() = 0;
  virtual bool Shown() = 0;
  // Shows (true) or hides (false) the window without changing its size.
  virtual void SetShown(bool shown) = 0;
  // Switches the computer off, closing other programs when `force`; tests never do.
  virtual void ShutdownComputer(bool force) = 0;
};

// The browser panes, by name (ba1::Web1 ... ba1::Web7, ba1::Weby).
class BrowserPanes {
 public:
  virtual ~BrowserPanes() = default;
  virtual void Navigate(ControlName pane, std::u16string_view address) = 0;
  virtual void Refresh(ControlName pane) = 0;
  virtual void SetSilent(ControlName pane, bool silent) = 0;
};

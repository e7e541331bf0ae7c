#pragma once
// What the main window's handlers ask of the system around the window itself.
#include <string_view>

#include "common/pixel_rect.h"
#include "play/model/control.h"

// The mouse pointer shapes the borderless window shows over its sizing band.
enum class Pointer { kDefault, kSizeNeSw, kSizeNs, kSizeNwSe, kSizeWe };

// Hit codes of the non-client area, as the system's move and size loops take them.
namespace hit {
inline constexpr int kCaption = 2;
inline constexpr int kLeft = 10;
inline constexpr int kRight = 11;
inline constexpr int kTop = 12;
inline constexpr int kTopLeft = 13;
inline constexpr int kTopRight = 14;
inline constexpr int kBottom = 15;
inline constexpr int kBottomLeft = 16;
inline constexpr int kBottomRight = 17;
}  // namespace hit

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
  // An OK message box with this text and title.
  virtual void MessageOk(std::u16string_view text, std::u16string_view title) = 0;
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

  // The chrome of the borderless window.
  // Gives the window a rounded-rectangle shape from (0, 0) to (width + 1, height + 1) pixels
  // with a 4 x 4 corner ellipse.
  virtual void SetRoundedRegion(long width, long height) = 0;
  virtual void SetPointer(Pointer pointer) = 0;
  // Sends every mouse event to this control until released (so that leaving it is seen).
  virtual void CaptureMouse(const ControlId& control) = 0;
  virtual void ReleaseMouse() = 0;
  // Runs the system's move (hit::kCaption) or size loop as if the frame had been pressed with
  // that hit code; returns when the user lets go of the button.
  virtual void RunMoveSizeLoop(int hit_code) = 0;
};

// The browser panes, by name (ba1::Web1 ... ba1::Web7, ba1::Weby).
class BrowserPanes {
 public:
  virtual ~BrowserPanes() = default;
  virtual void Navigate(ControlName pane, std::u16string_view address) = 0;
  virtual void Refresh(ControlName pane) = 0;
  virtual void GoBack(ControlName pane) = 0;
  virtual void GoForward(ControlName pane) = 0;
  virtual void Copy(ControlName pane) = 0;
  virtual void Paste(ControlName pane) = 0;
  virtual void SetSilent(ControlName pane, bool silent) = 0;
};

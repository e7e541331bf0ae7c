// The desktop as the main window's core sees it: the window's region, pointer and mouse, its
// show states and the work area, the tray icon, the shell, the process's end and the
// system's shutdown.
#include "play/win32/main_window_win32.h"

#include <shellapi.h>

#include "common/text/utf.h"
#include "common/text/web_address.h"
#include "common/win32/event_log.h"
#include "common/win32/wide.h"
#include "play/win32/shutdown_win32.h"
#include "play/win32/tray_sweep_win32.h"

// The region is set once the size change that asked for it is over, once for a series of
// changes; a live border drag sets it when the drag ends.
void MainWindowWin32::SetRoundedRegion(long width, long height) {
  const bool posted = region_size_.cx != 0 || region_size_.cy != 0;
  region_size_ = SIZE{std::max(width, 1L), std::max(height, 1L)};
  if (!posted) PostMessageW(hwnd_, kApplyRegionMessage, 0, 0);
}

void MainWindowWin32::ApplyRegion() {
  if (in_size_move_) {
    // In a live border drag the window goes square until the drag ends: a new region at each
    // step would cost a second change of the window's frame, children and all, per step.
    if (!region_dropped_) SetWindowRgn(hwnd_, nullptr, TRUE);
    region_dropped_ = true;
    return;  // the size asked for is set when the loop ends
  }
  region_dropped_ = false;
  const SIZE size = region_size_;
  region_size_ = SIZE{};
  if (size.cx == 0) return;
  // The system owns the region once it is set.
  if (HRGN region = CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, 4, 4)) {
    if (!SetWindowRgn(hwnd_, region, TRUE)) DeleteObject(region);
  }
}

void MainWindowWin32::SetPointer(Pointer pointer) {
  const wchar_t* shape = IDC_ARROW;
  switch (pointer) {
    case Pointer::kSizeNeSw: shape = IDC_SIZENESW; break;
    case Pointer::kSizeNs: shape = IDC_SIZENS; break;
    case Pointer::kSizeNwSe: shape = IDC_SIZENWSE; break;
    case Pointer::kSizeWe: shape = IDC_SIZEWE; break;
    case Pointer::kDefault: break;
  }
  pointer_ = LoadCursorW(nullptr, shape);
  SetCursor(pointer_);
}

void MainWindowWin32::CaptureMouse(const ControlId& control) {
  if (renderer_) renderer_->CaptureMouse(control);
}

void MainWindowWin32::ReleaseMouse() {
  if (GetCapture()) ReleaseCapture();
}

void MainWindowWin32::RunMoveSizeLoop(int hit_code) {
  ReleaseCapture();
  // The loop starts from where the pointer is now.
  SendMessageW(hwnd_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit_code), static_cast<LPARAM>(GetMessagePos()));
}

PixelRect MainWindowWin32::WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return PixelRect{work.left, work.top, work.right, work.bottom};
}

void MainWindowWin32::InstallMaxSizeHook(long max_width, long max_height) {
  max_width_ = max_width;
  max_height_ = max_height;
}

void MainWindowWin32::AddMinimizeMaximizeBoxes() {
  SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
}

void MainWindowWin32::BringToFront() {
  ShowWindow(hwnd_, SW_HIDE);
  ShowWindow(hwnd_, SW_SHOW);
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  SetForegroundWindow(hwnd_);
}

void MainWindowWin32::LetPendingEventsRun() {
  MSG message;
  for (int i = 0; i < 256 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void MainWindowWin32::AddTrayIcon(std::u16string_view tool_tip) {
  tray_tip_ = std::u16string(tool_tip);
  if (!taskbar_created_) taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  tray_.Add(hwnd_, kTrayMessage, LoadIconW(args_.instance, MAKEINTRESOURCEW(1)), tool_tip);
}

void MainWindowWin32::RemoveTrayIcon() {
  tray_.Delete();
  tray_tip_.clear();
}

void MainWindowWin32::SweepTrayIcons() { ::SweepTrayIcons(); }

void MainWindowWin32::OpenAddress(std::u16string_view address) {
  // The shell starts whatever an address names: only a plain web address goes to it.
  if (!IsOpenableWebAddress(address)) return;
  ShellExecuteW(hwnd_, L"open", ToWide(address).c_str(), nullptr, nullptr, SW_HIDE);
}

void MainWindowWin32::EndProcessNow() { TerminateProcess(GetCurrentProcess(), 0); }

void MainWindowWin32::UnloadWindows() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool MainWindowWin32::Minimized() { return hwnd_ && IsIconic(hwnd_); }

bool MainWindowWin32::Shown() { return hwnd_ && IsWindowVisible(hwnd_); }

void MainWindowWin32::SetShown(bool shown) { ShowWindow(hwnd_, shown ? SW_SHOW : SW_HIDE); }

void MainWindowWin32::ShutdownComputer(bool force) { ::ShutdownComputer(force); }

// The request belongs to this thread, the window's: the system forgets it when the thread ends.
void MainWindowWin32::KeepAwake(bool awake) {
  SetThreadExecutionState(awake ? ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
  AppendEventLog(L"VEXO_PLAY_EVENT_LOG", awake ? "awake on" : "awake off");
}

void MainWindowWin32::ShowOnTaskbar(const TaskbarView& view) {
  if (taskbar_buttons_) taskbar_buttons_->Show(view);
  std::string line = "taskbar";
  line += view.playing ? " pause" : view.has_item ? " play" : " idle";
  if (view.next_known) line += " next";
  if (view.download_per_mille) line += " fetched " + std::to_string(*view.download_per_mille);
  AppendEventLog(L"VEXO_PLAY_EVENT_LOG", line);
}

void MainWindowWin32::TrayBalloon(std::u16string_view text) {
  // Tests read the balloons from the file VEXO_PLAY_EVENT_LOG names, one a line.
  AppendEventLog(L"VEXO_PLAY_EVENT_LOG", "balloon " + Utf16ToUtf8(text));
  tray_.Balloon(u"绮映影视盒提示:", text);
}

void MainWindowWin32::OpenFolder(std::u16string_view folder) {
  // Quoted: a folder with blanks would otherwise open somewhere else.
  const std::wstring argument = L"\"" + ToWide(folder) + L"\"";
  ShellExecuteW(hwnd_, L"open", L"explorer", argument.c_str(), nullptr, SW_SHOWNORMAL);
}

void MainWindowWin32::SetTopmost(bool topmost) {
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The borderless, shaped window maximises by covering the work area of its monitor itself:
// the system's own maximised state does not survive a change of the window's region (Wine
// drops it), and the frame is drawn by the program anyway.
void MainWindowWin32::ShowState(int state) {
  if (state == 0) {
    ShowWindow(hwnd_, SW_MINIMIZE);
    return;
  }
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  if (state == 2 && !maximized_) {
    GetWindowRect(hwnd_, &restore_rect_);
    MONITORINFO monitor{sizeof monitor};
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    maximized_ = true;
    const RECT& work = monitor.rcWork;
    SetWindowPos(hwnd_, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (state == 1 && maximized_) {
    maximized_ = false;
    const RECT& r = restore_rect_;
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (state == 1 && IsZoomed(hwnd_)) {
    ShowWindow(hwnd_, SW_RESTORE);
  }
}

TextExtent MainWindowWin32::MeasureCaption(std::u16string_view caption) {
  if (!renderer_) return {};
  const SIZE size = renderer_->MeasureText(caption);
  return {size.cx, size.cy};
}

PixelRect MainWindowWin32::Screen() {
  return PixelRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The window the picture is drawn in: its tick, its paint, the picture's keys and menu, and
// full screen.
#include <windowsx.h>

#include "common/win32/gdi_scope.h"
#include "common/win32/server_module.h"
#include "media_player/win32/media_player_control_win32.h"

namespace {

constexpr wchar_t kScreenClass[] = L"VexoMediaPlayerScreen";
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 15;

}  // namespace

HWND MediaPlayerControl::CreateView(HWND parent, const RECT& area) {
  screen_ = std::make_unique<Screen>(*this, parent, area);
  if (!screen_->hwnd()) screen_.reset();
  return View();
}

MediaPlayerControl::Screen::Screen(MediaPlayerControl& control, HWND parent, const RECT& area) : control_(control) {
  WNDCLASSEXW wc{sizeof wc};
  wc.style = CS_DBLCLKS;
  wc.hInstance = ServerModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kScreenClass;
  RegisterWindowClass(wc);
  CreateBound(0, kScreenClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, area.left, area.top,
              area.right - area.left, area.bottom - area.top, parent, nullptr, ServerModule());
  if (hwnd_) SetTimer(hwnd_, kTickTimer, kTickMs, nullptr);
}

MediaPlayerControl::Screen::~Screen() { Destroy(); }

void MediaPlayerControl::Screen::EnterFullScreen() {
  if (full_screen_) return;
  home_parent_ = GetParent(hwnd_);
  GetWindowRect(hwnd_, &home_place_);
  MapWindowPoints(nullptr, home_parent_, reinterpret_cast<POINT*>(&home_place_), 2);
  MONITORINFO monitor{sizeof monitor};
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  SetParent(hwnd_, nullptr);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, WS_POPUP | WS_VISIBLE);
  const RECT& r = monitor.rcMonitor;
  SetWindowPos(hwnd_, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_FRAMECHANGED);
  SetFocus(hwnd_);
  full_screen_ = true;
}

void MediaPlayerControl::Screen::LeaveFullScreen() {
  if (!full_screen_) return;
  full_screen_ = false;
  SetWindowLongPtrW(hwnd_, GWL_STYLE, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  SetParent(hwnd_, home_parent_);
  SetWindowPos(hwnd_, nullptr, home_place_.left, home_place_.top, home_place_.right - home_place_.left,
               home_place_.bottom - home_place_.top, SWP_NOZORDER | SWP_FRAMECHANGED);
}

LRESULT MediaPlayerControl::Screen::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE: control_.Resized(LOWORD(lparam), HIWORD(lparam)); return 0;
    case WM_TIMER:
      if (wparam == kTickTimer) control_.Tick();
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      const PaintScope paint(hwnd_);
      control_.Paint(paint.dc());
      return 0;
    }
    case WM_KEYDOWN:
      if (wparam == VK_ESCAPE) LeaveFullScreen();
      control_.PictureKey(wparam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetFocus(hwnd_);  // the picture's keys
      break;
    case WM_CONTEXTMENU: control_.ShowMenu(hwnd_, POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}); return 0;
    case WM_LBUTTONDBLCLK: full_screen_ ? LeaveFullScreen() : EnterFullScreen(); return 0;
  }
  return Default(message, wparam, lparam);
}

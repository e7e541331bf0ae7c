// Stand-ins for the maker's desktop player processes, for the supervision and exit tests:
// built twice, as VexoPlayer.exe (a visible player window and a tray icon) and as
// VexoTerminal.exe (no visible window, a tray icon, waits). They read and write nothing.
#include <windows.h>
#include <shellapi.h>

#include "common/win32/window_base.h"

namespace {

class PlayerProcessWindow final : public WindowBase {
 public:
  PlayerProcessWindow(HINSTANCE instance, const wchar_t* title, bool visible) {
    WNDCLASSEXW wc{sizeof wc};
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
    wc.lpszClassName = L"VexoPlayerProcessStandin";
    RegisterWindowClass(wc);
    CreateBound(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 40, 40, 480, 320, nullptr,
                nullptr, instance);
    if (!hwnd_) return;
    icon_.cbSize = sizeof icon_;
    icon_.hWnd = hwnd_;
    icon_.uID = 1;
    icon_.uFlags = NIF_ICON | NIF_TIP;
    icon_.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(icon_.szTip, title, 64);
    Shell_NotifyIconW(NIM_ADD, &icon_);
  }
  ~PlayerProcessWindow() override { Shell_NotifyIconW(NIM_DELETE, &icon_); }
  bool ok() const { return hwnd_ != nullptr; }

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_DESTROY) {
      PostQuitMessage(0);
      return 0;
    }
    return Default(message, wparam, lparam);
  }
  NOTIFYICONDATAW icon_{};
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  PlayerProcessWindow window(instance, VEXO_PROCESS_TITLE, VEXO_PROCESS_VISIBLE != 0);
  if (!window.ok()) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

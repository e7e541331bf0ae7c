// The floors for play.exe's window: a Win32 program that registers a class, creates and shows a
// 904 x 565 window like play.exe's, and ends at its first paint (the start's floor). With the
// argument "stay" it stays open and fills its surface at each paint instead (the floor of a
// live resize step).
#include <windows.h>

#include <cwchar>

namespace {
bool stay = false;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    if (stay) FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EndPaint(hwnd, &paint);
    if (!stay) PostQuitMessage(0);
    return 0;
  }
  if (message == WM_NCHITTEST) {
    // The bottom-right corner sizes the window, as play.exe's does.
    RECT r;
    GetWindowRect(hwnd, &r);
    const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    if (at.x >= r.right - 8 && at.y >= r.bottom - 8) return HTBOTTOMRIGHT;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  stay = command_line && std::wcsstr(command_line, L"stay");
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"VexoTrivialWindow";
  RegisterClassExW(&wc);
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, wc.lpszClassName, L"floor", WS_POPUP | WS_CLIPCHILDREN, 100, 100, 904,
                                565, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

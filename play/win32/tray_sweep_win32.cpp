#include "play/win32/tray_sweep_win32.h"

namespace {

// The toolbar below a notification window: directly, or inside its pager.
HWND ToolbarBelow(HWND window) {
  if (!window) return nullptr;
  if (HWND pager = FindWindowExW(window, nullptr, L"SysPager", nullptr)) window = pager;
  return FindWindowExW(window, nullptr, L"ToolbarWindow32", nullptr);
}

}  // namespace

std::vector<HWND> FindTrayToolbars() {
  std::vector<HWND> toolbars;
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  HWND notify = tray ? FindWindowExW(tray, nullptr, L"TrayNotifyWnd", nullptr) : nullptr;
  // Every shell version keeps its icons in a toolbar under TrayNotifyWnd; newer ones also
  // keep hidden icons in the overflow window.
  if (HWND toolbar = ToolbarBelow(notify)) toolbars.push_back(toolbar);
  else if (notify) toolbars.push_back(notify);
  if (HWND toolbar = ToolbarBelow(FindWindowW(L"NotifyIconOverflowWindow", nullptr))) toolbars.push_back(toolbar);
  return toolbars;
}

void SweepTrayIcons() {
  for (HWND toolbar : FindTrayToolbars()) {
    RECT area{};
    GetClientRect(toolbar, &area);
    for (LONG x = 1; x < area.right; ++x) {
      for (LONG y = 1; y < area.bottom; ++y) PostMessageW(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }
  }
}

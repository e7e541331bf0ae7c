// Drives the demo: waits for play.exe's catalogue, then clicks one of its rows, as a user
// would, so the demo plays an item and moves on to the next episode without a hand on the
// keyboard. Usage: demo_driver.exe [row] (default 1, the series); demo_driver.exe close
// closes play.exe as its close box would, and waits for it to go.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

struct Search {
  HWND found = nullptr;
};

BOOL CALLBACK FindCatalogue(HWND hwnd, LPARAM data) {
  wchar_t cls[64] = {}, text[64] = {};
  GetClassNameW(hwnd, cls, 64);
  GetWindowTextW(hwnd, text, 64);
  if (std::wstring(cls) == L"VexoLinkListPane" && std::wstring(text) == L"Web1") {
    reinterpret_cast<Search*>(data)->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  if (arguments && std::wstring(arguments) == L"close") {
    for (int attempt = 0; attempt < 150; ++attempt) {
      HWND main = FindWindowW(L"VexoPlayMainWindow", nullptr);
      if (!main) return 0;
      if (attempt == 0) PostMessageW(main, WM_CLOSE, 0, 0);
      Sleep(100);
    }
    return 1;
  }
  const int row = arguments && *arguments ? _wtoi(arguments) : 1;
  for (int attempt = 0; attempt < 600; ++attempt) {
    if (HWND main = FindWindowW(L"VexoPlayMainWindow", nullptr)) {
      Search search;
      EnumChildWindows(main, FindCatalogue, reinterpret_cast<LPARAM>(&search));
      HWND list = search.found ? GetWindow(search.found, GW_CHILD) : nullptr;
      if (list && SendMessageW(list, LB_GETCOUNT, 0, 0) > row) {
        Sleep(5000);  // let the catalogue be seen first
        SendMessageW(list, LB_SETCURSEL, row, 0);
        PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        return 0;
      }
    }
    Sleep(100);
  }
  return 1;
}

#include "media_player/win32/video_adjust_dialog_win32.h"

#include <commctrl.h>

#include <string>

#include "media_player/win32/media_player_control_win32.h"

namespace {

constexpr wchar_t kClass[] = L"VexoVideoAdjust";
constexpr int kReset = 100, kClose = 101;

struct Row {
  const wchar_t* label;
  int low, high;
};
constexpr Row kRows[] = {{L"亮度", -100, 100}, {L"对比度", 0, 200}, {L"饱和度", 0, 200}};

}  // namespace

VideoAdjustDialog::VideoAdjustDialog(HWND owner, const PictureAdjust& current, Changed changed)
    : changed_(std::move(changed)) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = ServerModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClass;
  RegisterWindowClass(wc);
  RECT frame{0, 0, 330, 170};
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_POPUP;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOOLWINDOW);
  CreateBound(WS_EX_TOOLWINDOW, kClass, L"视频调节", style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
              frame.bottom - frame.top, owner, nullptr, ServerModule());
  if (!hwnd_) return;
  NONCLIENTMETRICSW metrics{sizeof metrics};
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD child_style, int x, int y, int w, int h, int id) {
    HWND made = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | child_style, x, y, w, h, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ServerModule(), nullptr);
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return made;
  };
  for (int i = 0; i < 3; ++i) {
    const int y = 14 + 36 * i;
    child(L"STATIC", kRows[i].label, SS_LEFT, 12, y + 4, 50, 18, -1);
    sliders_[i] = child(TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, 62, y, 200, 28, 10 + i);
    SendMessageW(sliders_[i], TBM_SETRANGE, TRUE, MAKELPARAM(kRows[i].low, kRows[i].high));
    SendMessageW(sliders_[i], TBM_SETPAGESIZE, 0, 10);
    values_[i] = child(L"STATIC", L"", SS_RIGHT, 266, y + 4, 50, 18, -1);
  }
  child(L"BUTTON", L"默认", WS_TABSTOP | BS_PUSHBUTTON, 130, 130, 86, 26, kReset);
  child(L"BUTTON", L"关闭", WS_TABSTOP | BS_DEFPUSHBUTTON, 228, 130, 86, 26, kClose);
  Show(current);
}

VideoAdjustDialog::~VideoAdjustDialog() {
  Destroy();
  if (font_) DeleteObject(font_);
}

void VideoAdjustDialog::Present() {
  if (!hwnd_) return;
  // Beside the player, at the owner's top right, within the screen.
  RECT owner{}, own{};
  GetWindowRect(GetWindow(hwnd_, GW_OWNER) ? GetWindow(hwnd_, GW_OWNER) : GetDesktopWindow(), &owner);
  GetWindowRect(hwnd_, &own);
  SetWindowPos(hwnd_, nullptr, owner.right - (own.right - own.left) - 24, owner.top + 60, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void VideoAdjustDialog::Show(const PictureAdjust& adjust) {
  const int values[3] = {adjust.brightness, adjust.contrast, adjust.saturation};
  for (int i = 0; i < 3; ++i) {
    SendMessageW(sliders_[i], TBM_SETPOS, TRUE, values[i]);
    SetWindowTextW(values_[i], std::to_wstring(values[i]).c_str());
  }
}

PictureAdjust VideoAdjustDialog::Read() const {
  PictureAdjust adjust;
  adjust.brightness = static_cast<int>(SendMessageW(sliders_[0], TBM_GETPOS, 0, 0));
  adjust.contrast = static_cast<int>(SendMessageW(sliders_[1], TBM_GETPOS, 0, 0));
  adjust.saturation = static_cast<int>(SendMessageW(sliders_[2], TBM_GETPOS, 0, 0));
  return ClampAdjust(adjust);
}

LRESULT VideoAdjustDialog::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_HSCROLL: {
      const PictureAdjust adjust = Read();
      Show(adjust);
      if (changed_) changed_(adjust);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == kReset) {
        Show(PictureAdjust{});
        if (changed_) changed_(PictureAdjust{});
      } else if (LOWORD(wparam) == kClose || LOWORD(wparam) == IDCANCEL) {
        ShowWindow(hwnd_, SW_HIDE);
      }
      return 0;
    case WM_CLOSE: ShowWindow(hwnd_, SW_HIDE); return 0;
  }
  return Default(message, wparam, lparam);
}

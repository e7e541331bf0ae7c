#include "play/win32/tray_icon_win32.h"

#include <cwchar>
#include <string>

#include "common/text/utf.h"
#include "common/win32/trace.h"
#include "common/win32/wide.h"

namespace {
// Copies as much of `text` as fits, always ending in a NUL, and never half a character.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], std::u16string_view text) {
  const std::wstring wide = ToWide(FitUtf16(text, N - 1));
  std::wmemcpy(field, wide.c_str(), wide.size() + 1);
}
}  // namespace

void TrayIcon::Add(HWND owner, UINT callback_message, HICON icon, std::u16string_view tool_tip) {
  Delete();
  data_ = NOTIFYICONDATAW{};
  data_.cbSize = sizeof data_;
  data_.hWnd = owner;
  data_.uID = 1;
  data_.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data_.uCallbackMessage = callback_message;
  data_.hIcon = icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
  CopyField(data_.szTip, tool_tip);
  adding_ = std::async(std::launch::async, [data = data_]() mutable {
    const bool done = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (!done) TraceLastError(L"Shell_NotifyIconW(NIM_ADD)");
    return done;
  });
}

bool TrayIcon::added() {
  if (adding_.valid()) added_ = adding_.get();
  return added_;
}

void TrayIcon::Balloon(std::u16string_view title, std::u16string_view text) {
  if (!added()) return;
  NOTIFYICONDATAW balloon = data_;
  balloon.uFlags = NIF_INFO;
  CopyField(balloon.szInfo, text);
  CopyField(balloon.szInfoTitle, title);
  balloon.dwInfoFlags = NIIF_INFO;
  if (!Shell_NotifyIconW(NIM_MODIFY, &balloon)) TraceLastError(L"Shell_NotifyIconW(NIM_MODIFY)");
}

void TrayIcon::Delete() {
  if (!added()) return;
  Shell_NotifyIconW(NIM_DELETE, &data_);
  added_ = false;
}

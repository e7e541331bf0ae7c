// The main window's menus and dialogs: popup menus at the pointer or at a place of the
// window, the open-file dialog, and the message boxes.
#include "play/win32/main_window_win32.h"

#include <commdlg.h>

#include "common/win32/system_function.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"

std::optional<std::u16string> MainWindowWin32::OpenFile(std::u16string_view filter, std::u16string_view title) {
  // The filter's "|" separators become the NULs the dialog wants, ended by two.
  std::wstring patterns = ToWide(filter);
  for (wchar_t& c : patterns) {
    if (c == L'|') c = L'\0';
  }
  patterns.append(2, L'\0');
  const std::wstring caption = ToWide(title);
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{sizeof dialog};
  dialog.hwndOwner = hwnd_;
  dialog.lpstrFilter = patterns.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = caption.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  // The dialog's library (and the printing and shell parts it pulls in) loads when first asked for.
  const auto open = SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  if (!open || !open(&dialog)) return std::nullopt;
  file.resize(wcslen(file.c_str()));
  return FromWide(file);
}

int MainWindowWin32::Popup(const std::vector<MenuEntry>& entries) {
  POINT at{};
  GetCursorPos(&at);
  return PopupAtScreen(entries, at);
}

int MainWindowWin32::PopupAt(const std::vector<MenuEntry>& entries, long x, long y) {
  POINT at{x, y};
  ClientToScreen(hwnd_, &at);
  return PopupAtScreen(entries, at);
}

int MainWindowWin32::PopupAtScreen(const std::vector<MenuEntry>& entries, POINT at) {
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return -1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& entry = entries[i];
    if (entry.text.empty()) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu.get(), MF_STRING | (entry.checked ? MF_CHECKED : 0), i + 1, ToWide(entry.text).c_str());
    }
  }
  // The window must be in front, or the menu stays open after a click elsewhere.
  SetForegroundWindow(hwnd_);
  const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  return chosen - 1;
}

void MainWindowWin32::MessageOk(std::u16string_view text, std::u16string_view title) {
  MessageBoxW(hwnd_, ToWide(text).c_str(), ToWide(title).c_str(), MB_OK);
}

bool MainWindowWin32::AskYesNo(std::u16string_view text, std::u16string_view title) {
  return MessageBoxW(hwnd_, ToWide(text).c_str(), ToWide(title).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

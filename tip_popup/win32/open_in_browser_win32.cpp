#include "tip_popup/win32/open_in_browser_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <optional>

#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"
#include "tip_popup/browser_command.h"

namespace {

// The default value of HKCR\http\shell\open\command, if it fits 260 bytes.
std::optional<std::u16string> HttpOpenCommand() {
  UniqueRegKey key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", 0, KEY_READ, key.receive()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  wchar_t buffer[130] = {};
  DWORD type = 0;
  DWORD size = sizeof buffer;
  const LONG result = RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size < 2) return std::nullopt;
  buffer[129] = L'\0';
  return FromWide(buffer);
}

}  // namespace

void OpenInBrowser(const std::u16string& address) {
  const std::u16string program = BrowserProgram(HttpOpenCommand());
  ShellExecuteW(nullptr, L"open", WidePtr(program), WidePtr(address), nullptr, SW_SHOWNORMAL);
}

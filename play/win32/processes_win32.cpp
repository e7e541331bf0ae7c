#include "play/win32/processes_win32.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "common/text/ascii_case.h"
#include "common/win32/wide.h"

bool Win32Processes::AnyNamed(std::u16string_view name_part) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{sizeof entry};
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
    std::u16string name = FromWide(entry.szExeFile);
    std::u16string wanted(name_part);
    for (char16_t& c : name) c = FoldAsciiCase(c);
    for (char16_t& c : wanted) c = FoldAsciiCase(c);
    found = name.find(wanted) != std::u16string::npos;
  }
  CloseHandle(snapshot);
  return found;
}

void Win32Processes::StartMinimized(std::u16string_view program) {
  ShellExecuteW(nullptr, L"open", ToWide(program).c_str(), nullptr, nullptr, SW_SHOWMINIMIZED);
}

#include "play/win32/processes_win32.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "common/text/ascii_case.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"

bool Win32Processes::AnyNamed(std::u16string_view name_part) {
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry{sizeof entry};
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more && !found;
       more = Process32NextW(snapshot.get(), &entry)) {
    std::u16string name = FromWide(entry.szExeFile);
    std::u16string wanted(name_part);
    for (char16_t& c : name) c = FoldAsciiCase(c);
    for (char16_t& c : wanted) c = FoldAsciiCase(c);
    found = name.find(wanted) != std::u16string::npos;
  }
  return found;
}

void Win32Processes::StartMinimized(std::u16string_view program) {
  ShellExecuteW(nullptr, L"open", ToWide(program).c_str(), nullptr, nullptr, SW_SHOWMINIMIZED);
}

#include "play/win32/processes_win32.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "common/text/ascii_case.h"
#include "common/win32/trace.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"

bool Win32Processes::AnyNamed(std::u16string_view name_part) {
  std::u16string wanted(name_part);
  for (char16_t& c : wanted) c = FoldAsciiCase(c);
  for (const ProcessEntry& process : List()) {
    std::u16string name = process.name;
    for (char16_t& c : name) c = FoldAsciiCase(c);
    if (name.find(wanted) != std::u16string::npos) return true;
  }
  return false;
}

void Win32Processes::StartMinimized(std::u16string_view program) {
  ShellExecuteW(nullptr, L"open", ToWide(program).c_str(), nullptr, nullptr, SW_SHOWMINIMIZED);
}

std::vector<ProcessEntry> Win32Processes::List() {
  std::vector<ProcessEntry> processes;
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) {
    TraceLastError(L"CreateToolhelp32Snapshot");
    return processes;
  }
  PROCESSENTRY32W entry{sizeof entry};
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    processes.push_back({entry.th32ProcessID, FromWide(entry.szExeFile)});
  }
  return processes;
}

std::u16string Win32Processes::ImagePath(unsigned long id) {
  const UniqueHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  if (!handle) return {};
  wchar_t path[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  if (!QueryFullProcessImageNameW(handle.get(), 0, path, &size)) return {};
  return FromWide(std::wstring_view(path, size));
}

bool Win32Processes::Terminate(unsigned long id) {
  const UniqueHandle process(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, id));
  if (!process) return false;
  DWORD code = 0;
  if (!GetExitCodeProcess(process.get(), &code)) return false;
  return TerminateProcess(process.get(), 0) != FALSE;
}

#include "play/win32/shutdown_win32.h"

#include <windows.h>

#include "common/win32/event_log.h"
#include "common/win32/trace.h"
#include "common/win32/unique_handle.h"

namespace {

void EnableShutdownPrivilege() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive())) {
    TraceLastError(L"OpenProcessToken");
    return;
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    TraceLastError(L"LookupPrivilegeValueW");
    return;
  }
  if (!AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) {
    TraceLastError(L"AdjustTokenPrivileges");
  }
}

}  // namespace

void ShutdownComputer(bool force) {
  wchar_t log[MAX_PATH];
  if (GetEnvironmentVariableW(L"VEXO_SHUTDOWN_LOG", log, MAX_PATH)) {
    AppendEventLog(L"VEXO_SHUTDOWN_LOG", force ? "shutdown force" : "shutdown");
    return;
  }
  EnableShutdownPrivilege();
  if (!ExitWindowsEx(EWX_SHUTDOWN | (force ? EWX_FORCE : 0), 0)) TraceLastError(L"ExitWindowsEx");
}

#include "common/win32/event_log.h"

#include <windows.h>

#include <string>

#include "common/win32/unique_handle.h"

void AppendEventLog(const wchar_t* variable, std::string_view line) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(variable, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const UniqueHandle log(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log) return;
  std::string text(line);
  text += "\r\n";
  DWORD written = 0;
  WriteFile(log.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

#include "common/win32/trace.h"

#include <cwchar>
#include <string>

namespace {
// The debugger output takes the line as UTF-8 through the ANSI entry: Wine shows that one
// (WINEDEBUG=+debugstr) and drops the wide one, and debuggers on Windows show both alike.
void Emit(const wchar_t* line) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return;
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8.data(), size, nullptr, nullptr);
  OutputDebugStringA(utf8.c_str());
}
}  // namespace

void TraceFailure(const wchar_t* step, HRESULT result) {
  wchar_t line[512];
  std::swprintf(line, 512, L"vexo: %ls failed: HRESULT 0x%08lX\n", step ? step : L"?",
                static_cast<unsigned long>(result));
  Emit(line);
}

void TraceLastError(const wchar_t* step) {
  const DWORD error = GetLastError();
  wchar_t line[512];
  std::swprintf(line, 512, L"vexo: %ls failed: error %lu\n", step ? step : L"?", static_cast<unsigned long>(error));
  Emit(line);
  SetLastError(error);
}

void TraceException(const wchar_t* where, const char* what) {
  wchar_t line[768];
  std::swprintf(line, 768, L"vexo: exception stopped in %ls: %hs\n", where ? where : L"?", what ? what : "unknown");
  Emit(line);
}

#include "common/win32/trace.h"

#include <cwchar>

void TraceFailure(const wchar_t* step, HRESULT result) {
  wchar_t line[512];
  std::swprintf(line, 512, L"vexo: %ls failed: HRESULT 0x%08lX\n", step ? step : L"?",
                static_cast<unsigned long>(result));
  OutputDebugStringW(line);
}

void TraceLastError(const wchar_t* step) {
  const DWORD error = GetLastError();
  wchar_t line[512];
  std::swprintf(line, 512, L"vexo: %ls failed: error %lu\n", step ? step : L"?", static_cast<unsigned long>(error));
  OutputDebugStringW(line);
  SetLastError(error);
}

void TraceException(const wchar_t* where, const char* what) {
  wchar_t line[768];
  std::swprintf(line, 768, L"vexo: exception stopped in %ls: %hs\n", where ? where : L"?", what ? what : "unknown");
  OutputDebugStringW(line);
}

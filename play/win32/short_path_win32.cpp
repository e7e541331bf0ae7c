#include "play/win32/short_path_win32.h"

#include <windows.h>

#include "common/win32/wide.h"

std::u16string ShortPathIfPossible(const std::u16string& path) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetShortPathNameW(WidePtr(path), buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return path;
  return FromWide(std::wstring_view(buffer, length));
}

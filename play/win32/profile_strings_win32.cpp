#include "play/win32/profile_strings_win32.h"

#include <windows.h>

#include "common/win32/wide.h"

std::size_t Win32ProfileStrings::GetString(std::u16string_view section, std::u16string_view key,
                                           std::u16string_view default_value, char16_t* buffer, std::size_t size,
                                           std::u16string_view path) {
  const std::wstring s = ToWide(section), k = ToWide(key), d = ToWide(default_value), p = ToWide(path);
  return GetPrivateProfileStringW(s.c_str(), k.c_str(), d.c_str(), reinterpret_cast<wchar_t*>(buffer),
                                  static_cast<DWORD>(size), p.c_str());
}

bool Win32ProfileStrings::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value,
                                      std::u16string_view path) {
  const std::wstring s = ToWide(section), k = ToWide(key), v = ToWide(value), p = ToWide(path);
  return WritePrivateProfileStringW(s.c_str(), k.c_str(), v.c_str(), p.c_str()) != FALSE;
}

bool Win32ProfileStrings::WriteNewSection(std::u16string_view section, const std::vector<Entry>& entries,
                                          std::u16string_view path) {
  // "key=value" texts one after another, each ended by a NUL, and a NUL after the last.
  std::wstring pairs;
  for (const Entry& entry : entries) pairs += ToWide(entry.key) + L"=" + ToWide(entry.value) + L'\0';
  pairs += L'\0';
  const std::wstring s = ToWide(section), p = ToWide(path);
  return WritePrivateProfileSectionW(s.c_str(), pairs.c_str(), p.c_str()) != FALSE;
}

#include <windows.h>

#include "common/codepage.h"

std::string ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string FromCodePage(int code_page, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const auto page = static_cast<UINT>(code_page);
  const int size = MultiByteToWideChar(page, 0, bytes.data(), length, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(size > 0 ? size : 0), u'\0');
  if (size > 0) {
    MultiByteToWideChar(page, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(out.data()), size);
  }
  return out;
}

std::u16string FromAnsi(std::string_view bytes) { return FromCodePage(CP_ACP, bytes); }

bool IsDoubleByteInAnsi(char16_t ch) {
  char buffer[4];
  const wchar_t wide = static_cast<wchar_t>(ch);
  return WideCharToMultiByte(CP_ACP, 0, &wide, 1, buffer, sizeof buffer, nullptr, nullptr) == 2;
}

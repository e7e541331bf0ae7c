#include "media_player/win32/http_answer_win32.h"

std::wstring Header(HINTERNET request, DWORD which) {
  wchar_t text[256] = {};
  DWORD size = sizeof text - sizeof(wchar_t);
  if (!HttpQueryInfoW(request, which, text, &size, nullptr)) return {};
  return text;
}

std::string HeaderValue(HINTERNET request, DWORD which) {
  std::string value;
  for (wchar_t c : Header(request, which)) {
    if (c < 0x20 || c > 0x7E) return {};
    value += static_cast<char>(c);
  }
  return value;
}

std::wstring IfRangeHeader(const std::string& validator) {
  return validator.empty() ? std::wstring()
                           : L"If-Range: " + std::wstring(validator.begin(), validator.end()) + L"\r\n";
}

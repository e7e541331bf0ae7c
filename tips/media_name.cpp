#include "tips/media_name.h"

#include <algorithm>

#include "common/codepage.h"
#include "common/text/ascii_case.h"

bool IsAcceptedMovieName(std::string_view name) {
  constexpr std::string_view kExtension = ".swf";
  if (name.size() <= kExtension.size() || name.size() > kMaxMovieNameLength) return false;
  if (name.find("..") != std::string_view::npos) return false;
  if (!EqualsIgnoringAsciiCase(name.substr(name.size() - kExtension.size()), kExtension)) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.';
  });
}

std::string MediaPathForUrl(std::string_view store_folder, std::string_view flash_url) {
  const auto slash = flash_url.rfind('/');
  if (slash == std::string_view::npos) return {};
  const std::string_view name = flash_url.substr(slash + 1);
  if (!IsAcceptedMovieName(name)) return {};
  return std::string(store_folder) + std::string(name);
}

std::string StoreFolderWithBackslash(std::string_view folder) {
  // Looked at as text, not as bytes: in code page 936 a backslash byte may be the second half
  // of a double-byte character.
  const std::u16string text = FromAnsi(folder);
  std::string out(folder);
  if (!text.empty() && text.back() != u'\\' && text.back() != u'/') out += '\\';
  return out;
}

bool SamePath(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  return std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
    auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : (c == '/' ? '\\' : c); };
    return fold(x) == fold(y);
  });
}

#include "play/text/text_procedures.h"

#include "common/text/ascii_case.h"
#include "common/text/decimal.h"

namespace {

std::u16string TwoDigits(long long value) {
  std::u16string out;
  if (value < 10) out += u'0';
  for (char c : std::to_string(value)) out += static_cast<char16_t>(c);
  return out;
}

// 1-based position of `find` in `text` at or after `start`, 0 when absent, nothing where the
// classic InStr raises an error (a start before 1).
std::optional<long long> InStr(long long start, std::u16string_view text, std::u16string_view find) {
  if (start < 1) return std::nullopt;
  if (text.empty()) return 0;
  if (static_cast<std::size_t>(start) > text.size()) return 0;
  if (find.empty()) return start;
  const auto at = text.find(find, static_cast<std::size_t>(start - 1));
  return at == std::u16string_view::npos ? 0 : static_cast<long long>(at) + 1;
}

}  // namespace

std::u16string FormatPlayTime(long long seconds) {
  if (seconds < 0) seconds = 0;
  const long long h = seconds / 3600;
  const long long m = (seconds % 3600) / 60;
  const long long s = (seconds % 3600) % 60;
  std::u16string out;
  if (h != 0) out = Decimal(h) + u":";
  return out + TwoDigits(m) + u":" + TwoDigits(s);
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (end < text.size() && text[end] == u'\r' && start < text.size() && text[start] == u'\n') ++start;
  }
  return lines;
}

std::u16string FileNameOfPath(std::u16string_view path) {
  const auto slash = path.rfind(u'\\');
  return slash == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(slash + 1));
}

std::u16string StripExtension(std::u16string_view name) {
  const auto dot = name.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string() : std::u16string(name.substr(0, dot));
}

std::u16string TruncateToByteWidth(std::u16string_view text, long long limit, const CodePage& code_page) {
  // limit / 2 is a true division: a limit of 5 keeps texts of up to 2 characters whole.
  if (static_cast<double>(limit) / 2.0 >= static_cast<double>(text.size())) return std::u16string(text);
  long long total = 0;
  std::size_t taken = 0;
  for (char16_t c : text) {
    const int width = code_page.IsDoubleByte(c) ? 2 : 1;
    if (total + width > limit) break;
    total += width;
    ++taken;
  }
  return std::u16string(text.substr(0, taken));
}

std::optional<std::u16string> TextBetween(std::u16string_view text, std::u16string_view start_marker,
                                          std::u16string_view end_marker, int mode) {
  long long start = 0;
  long long end = 0;
  if (mode == 1) {
    const auto s = InStr(1, text, start_marker);
    if (!s) return std::nullopt;
    start = *s;
    const auto e = InStr(start, text, end_marker);  // a missing start marker (0) fails here
    if (!e) return std::nullopt;
    end = *e + static_cast<long long>(end_marker.size());
  } else if (mode == 2) {
    const auto s = InStr(1, text, start_marker);
    if (!s) return std::nullopt;
    start = *s + static_cast<long long>(start_marker.size());
    const auto e = InStr(start, text, end_marker);
    if (!e) return std::nullopt;
    end = *e;
  } else {
    return std::nullopt;
  }
  const long long length = end - start;
  if (start < 1 || length < 0) return std::nullopt;
  if (static_cast<std::size_t>(start) > text.size()) return std::u16string();
  return std::u16string(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

bool IsSiteMediaAddress(std::u16string_view media) {
  const auto at = media.find(u"://");
  // Two letters at least: "C://x" is a drive.
  if (at == std::u16string_view::npos || at < 2) return false;
  const auto letter = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); };
  if (!letter(media[0])) return false;
  for (char16_t c : media.substr(0, at)) {
    if (!letter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.') return false;
  }
  if (EqualsIgnoringAsciiCase(media.substr(0, at), u"file")) return false;
  for (char16_t c : media) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

bool IsFullWindowsPath(std::u16string_view path) {
  const auto separator = [](char16_t c) { return c == u'\\' || c == u'/'; };
  const auto letter = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); };
  if (path.size() >= 3 && letter(path[0]) && path[1] == u':' && separator(path[2])) return true;
  return path.size() >= 5 && separator(path[0]) && separator(path[1]) && path[2] != u'.' && path[2] != u'?' &&
         !separator(path[2]);
}

std::u16string HostOfAddress(std::u16string_view address) {
  const auto scheme_end = address.find(u"://");
  const std::u16string_view rest = scheme_end == std::u16string_view::npos ? address : address.substr(scheme_end + 3);
  return std::u16string(rest.substr(0, rest.find(u'/')));
}

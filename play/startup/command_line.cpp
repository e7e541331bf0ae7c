#include "play/startup/command_line.h"

CommandLineRequest ClassifyCommandLine(std::u16string_view command_line) {
  std::u16string text;
  for (char16_t c : command_line) {
    if (c != u'"') text += c;
  }
  if (!text.empty() && text.back() == u'/') text.pop_back();
  if (text.empty()) return {};
  constexpr std::u16string_view kScheme = u"niba://";
  if (text.find(kScheme) != std::u16string::npos && text.find(u'-') != std::u16string::npos) {
    for (auto at = text.find(kScheme); at != std::u16string::npos; at = text.find(kScheme, at)) {
      text.erase(at, kScheme.size());
    }
    const auto first = text.find_first_not_of(u' ');
    const auto last = text.find_last_not_of(u' ');
    text = first == std::u16string::npos ? std::u16string() : text.substr(first, last - first + 1);
    return {CommandLineRequest::Kind::kPageLink, text};
  }
  return {CommandLineRequest::Kind::kMedia, text};
}

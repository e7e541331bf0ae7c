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

std::vector<std::u16string> SeveralQuotedTexts(std::u16string_view command_line) {
  std::vector<std::u16string> texts;
  std::size_t at = 0;
  while (true) {
    at = command_line.find_first_not_of(u' ', at);
    if (at == std::u16string_view::npos) break;
    if (command_line[at] != u'"') return {};
    const std::size_t end = command_line.find(u'"', at + 1);
    if (end == std::u16string_view::npos || end == at + 1) return {};
    texts.emplace_back(command_line.substr(at + 1, end - at - 1));
    at = end + 1;
    if (at < command_line.size() && command_line[at] != u' ') return {};
  }
  if (texts.size() < 2) return {};
  return texts;
}

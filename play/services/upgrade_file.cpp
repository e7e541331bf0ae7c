#include "play/services/upgrade_file.h"

namespace {

constexpr std::size_t kFooterLinks = 4;

std::vector<std::u16string_view> Split(std::u16string_view text, std::u16string_view marker) {
  std::vector<std::u16string_view> parts;
  for (;;) {
    const auto at = text.find(marker);
    if (at == std::u16string_view::npos) break;
    parts.push_back(text.substr(0, at));
    text.remove_prefix(at + marker.size());
  }
  parts.push_back(text);
  return parts;
}

// The version as the program shows it in a question: line ends dropped (CR LF from Windows,
// LF alone from a Unix server), blanks and tabs around it trimmed; a version with any other
// control character is no version at all.
std::u16string CleanVersion(std::u16string_view section) {
  std::u16string version;
  for (char16_t c : section) {
    if (c != u'\r' && c != u'\n') version += c;
  }
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  while (!version.empty() && blank(version.back())) version.pop_back();
  std::size_t first = 0;
  while (first < version.size() && blank(version[first])) ++first;
  version.erase(0, first);
  for (char16_t c : version) {
    if (c < 0x20 || c == 0x7F) return {};
  }
  return version;
}

}  // namespace

std::optional<UpgradeFile> ParseUpgradeFile(std::u16string_view text) {
  if (text.empty() || text.find(u"====") == std::u16string_view::npos) return std::nullopt;
  const std::vector<std::u16string_view> sections = Split(text, u"====");
  UpgradeFile file;
  file.exit_action = std::u16string(sections[1]);
  const std::u16string_view news = sections[0];
  if (!news.empty() && news.find(u"****") != std::u16string_view::npos) {
    for (std::u16string_view item : Split(news, u"@@@@@")) {
      if (file.news.size() == kFooterLinks) break;
      const auto marker = item.find(u"****");
      if (marker == std::u16string_view::npos) {
        file.news.push_back({std::u16string(item), std::nullopt});
      } else {
        const std::vector<std::u16string_view> parts = Split(item, u"****");
        file.news.push_back({std::u16string(parts[0]), std::u16string(parts[1])});
      }
    }
  }
  if (sections.size() > 2) file.latest_version = CleanVersion(sections[2]);
  return file;
}

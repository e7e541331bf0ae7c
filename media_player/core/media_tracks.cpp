#include "media_player/core/media_tracks.h"

#include <algorithm>
#include <array>
#include <utility>

#include "common/text/utf.h"

namespace {

struct Language {
  std::string_view code;
  std::u16string_view name;
};

// Both the two-letter and the three-letter codes (bibliographic and terminology) are met.
constexpr std::array<Language, 44> kLanguages = {{
    {"zh", u"中文"},        {"chi", u"中文"},       {"zho", u"中文"},         {"cmn", u"国语"},
    {"yue", u"粤语"},       {"zh-cn", u"简体中文"}, {"zh-hans", u"简体中文"}, {"chs", u"简体中文"},
    {"zh-tw", u"繁体中文"}, {"zh-hk", u"繁体中文"}, {"zh-hant", u"繁体中文"}, {"cht", u"繁体中文"},
    {"en", u"英语"},        {"eng", u"英语"},       {"ja", u"日语"},          {"jpn", u"日语"},
    {"ko", u"韩语"},        {"kor", u"韩语"},       {"fr", u"法语"},          {"fre", u"法语"},
    {"fra", u"法语"},       {"de", u"德语"},        {"ger", u"德语"},         {"deu", u"德语"},
    {"es", u"西班牙语"},    {"spa", u"西班牙语"},   {"ru", u"俄语"},          {"rus", u"俄语"},
    {"it", u"意大利语"},    {"ita", u"意大利语"},   {"pt", u"葡萄牙语"},      {"por", u"葡萄牙语"},
    {"th", u"泰语"},        {"tha", u"泰语"},       {"vi", u"越南语"},        {"vie", u"越南语"},
    {"ar", u"阿拉伯语"},    {"ara", u"阿拉伯语"},   {"hi", u"印地语"},        {"hin", u"印地语"},
    {"id", u"印尼语"},      {"ind", u"印尼语"},     {"ms", u"马来语"},        {"may", u"马来语"},
}};

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '_') c = '-';
  }
  return folded;
}

}  // namespace

std::u16string LanguageName(std::string_view code) {
  const std::string folded = Folded(code);
  if (folded.empty() || folded == "und" || folded.size() > 35) return {};
  for (const Language& language : kLanguages) {
    if (language.code == folded) return std::u16string(language.name);
  }
  // "zh-SG", "en-US": the language without its region.
  if (const auto dash = folded.find('-'); dash != std::string::npos && dash > 0) {
    const std::u16string base = LanguageName(folded.substr(0, dash));
    if (!base.empty() && base != Utf8ToUtf16(folded.substr(0, dash))) return base;
  }
  return Utf8ToUtf16(code);
}

std::u16string AudioTrackLabel(const MediaTrack& track, int index) {
  return TrackLabel(track, u"音轨 " + Utf8ToUtf16(std::to_string(index + 1)));
}

std::u16string TrackLabel(const MediaTrack& track, std::u16string_view fallback) {
  const std::u16string language = LanguageName(track.language);
  std::u16string title = Utf8ToUtf16(track.title.substr(0, 200));
  // A menu item is one line.
  std::replace_if(
      title.begin(), title.end(), [](char16_t c) { return c < u' '; }, u' ');
  if (language.empty() && title.empty()) return std::u16string(fallback);
  if (title.empty() || title == language) return language;
  if (language.empty()) return title;
  return language + u" - " + title;
}

#include "media_player/core/remembered_choices.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace {

constexpr std::int64_t kMaxOffsetMs = 10 * 60 * 1000;
constexpr std::size_t kMaxField = 4096;

bool Plain(std::string_view text) {
  return text.size() <= kMaxField &&
         std::none_of(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t at = 0;;) {
    const auto tab = line.find('\t', at);
    fields.push_back(line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at));
    if (tab == std::string_view::npos) return fields;
    at = tab + 1;
  }
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

bool KnownSubtitle(std::string_view subtitle) {
  return subtitle.empty() || subtitle == "off" || subtitle.rfind("file:", 0) == 0 || subtitle.rfind("stream:", 0) == 0;
}

}  // namespace

void RememberedChoices::Parse(std::string_view file) {
  items_.clear();
  if (file.size() > kMaxFileBytes) file = file.substr(0, kMaxFileBytes);
  std::size_t at = 0;
  while (at < file.size() && items_.size() < kMaxItems) {
    auto end = file.find('\n', at);
    if (end == std::string_view::npos) end = file.size();
    std::string_view line = file.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> fields = Fields(line);
    ItemChoices choices;
    if (fields.size() != 4 || fields[0].empty() || fields[0].size() > kMaxField || !KnownSubtitle(fields[1]) ||
        !ParseNumber(fields[2], choices.offset_ms) || !ParseNumber(fields[3], choices.audio) ||
        std::abs(choices.offset_ms) > kMaxOffsetMs || choices.audio < -1) {
      continue;
    }
    choices.subtitle = std::string(fields[1]);
    if (Find(fields[0])) continue;  // the first line of an item is its latest
    items_.emplace_back(std::string(fields[0]), std::move(choices));
  }
}

std::string RememberedChoices::Serialize() const {
  std::string file;
  for (const auto& [item, choices] : items_) {
    file += item + '\t' + choices.subtitle + '\t' + std::to_string(choices.offset_ms) + '\t' +
            std::to_string(choices.audio) + '\n';
  }
  return file;
}

std::optional<ItemChoices> RememberedChoices::Find(std::string_view item) const {
  for (const auto& [key, choices] : items_) {
    if (key == item) return choices;
  }
  return std::nullopt;
}

void RememberedChoices::Put(std::string_view item, const ItemChoices& choices) {
  if (item.empty() || !Plain(item) || !Plain(choices.subtitle) || !KnownSubtitle(choices.subtitle)) return;
  std::erase_if(items_, [&](const auto& entry) { return entry.first == item; });
  if (choices == ItemChoices{}) return;
  ItemChoices kept = choices;
  kept.offset_ms = std::clamp(kept.offset_ms, -kMaxOffsetMs, kMaxOffsetMs);
  kept.audio = std::max(kept.audio, -1);
  items_.emplace(items_.begin(), std::string(item), std::move(kept));
  if (items_.size() > kMaxItems) items_.resize(kMaxItems);
}

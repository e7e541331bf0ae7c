#pragma once
// What the user chose for each item the control played (the subtitle track, its offset, the
// sound track), kept so that the item plays with them again. The file is one line per item,
// the most recent first, a bounded number of them; a damaged line is left out, never the file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ItemChoices {
  // Which subtitles: "" (none chosen: the usual first one), "off", "file:<name>" for a file
  // beside the item or fetched with it, "stream:<n>" for the n-th text track inside it.
  std::string subtitle;
  std::int64_t offset_ms = 0;
  int audio = -1;  // the n-th sound track, -1 for the usual one
  bool operator==(const ItemChoices&) const = default;
};

class RememberedChoices {
 public:
  static constexpr std::size_t kMaxItems = 500;
  static constexpr std::size_t kMaxFileBytes = 1u << 20;

  void Parse(std::string_view file);
  std::string Serialize() const;

  std::optional<ItemChoices> Find(std::string_view item) const;
  // Puts the item first; the least recently chosen one goes past the bound. An item whose
  // choices are all the usual ones is forgotten.
  void Put(std::string_view item, const ItemChoices& choices);
  std::size_t size() const { return items_.size(); }

 private:
  std::vector<std::pair<std::string, ItemChoices>> items_;
};

#pragma once
// Which downloaded files belong to a history entry: the player keeps an item's media under
// names that begin like the media's own file name.
#include <optional>
#include <string>
#include <string_view>

struct MediaFileKey {
  std::u16string key;  // the start a file name must have
  std::size_t length;  // how many of its characters are compared
  bool Matches(std::u16string_view file_name) const {
    return file_name.size() >= length && file_name.substr(0, length) == key;
  }
};

// The key of an entry's media (its field as the list stores it, unescaped): none for a media
// address without "|" (a web-player entry). For a player-control address the file name is its
// third "|" field, unescaped; of its name without extension, half the length (rounded half to
// even) is compared, or the whole name when that half is under 3.
std::optional<MediaFileKey> MediaFileKeyOf(std::u16string_view media);

// Rounds n / 2 to the nearest whole number, ties to even (as the system's rounding does).
std::size_t HalfRoundedToEven(std::size_t n);

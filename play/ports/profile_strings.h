#pragma once
// The system's profile-string functions over an ini file (config.ini).
#include <cstddef>
#include <string_view>
#include <vector>

class ProfileStrings {
 public:
  virtual ~ProfileStrings() = default;

  // Copies the value of section/key in the file at `path` into `buffer` (at most size - 1
  // characters and a terminating NUL), or `default_value` when the key is absent. Returns
  // the number of characters copied, without the NUL; 0 for an empty value.
  virtual std::size_t GetString(std::u16string_view section, std::u16string_view key, std::u16string_view default_value,
                                char16_t* buffer, std::size_t size, std::u16string_view path) = 0;

  // Sets section/key to `value`, creating the file and the section when needed.
  virtual bool WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value,
                           std::u16string_view path) = 0;

  struct Entry {
    std::u16string_view key, value;
  };
  // Writes a section that the file does not have yet, its keys in order, as that many
  // WriteString calls would: the system's writer does it in one write of the file.
  virtual bool WriteNewSection(std::u16string_view section, const std::vector<Entry>& entries,
                               std::u16string_view path) {
    bool all = true;
    for (const Entry& entry : entries) all = WriteString(section, entry.key, entry.value, path) && all;
    return all;
  }
};

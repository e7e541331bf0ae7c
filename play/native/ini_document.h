#pragma once
// An ini file as its lines, parsed the way the system's profile functions read it, and
// edited the way they write it: other lines stay exactly as they were.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
 public:
  enum class Encoding { kAnsi, kUtf16Le, kUtf8 };

  struct Line {
    std::u16string text;  // the line as stored, without its line break
    bool is_section = false;
    std::u16string name;                  // section name, or key name (trimmed)
    std::optional<std::u16string> value;  // key value (trimmed); none for a line without '='
  };

  static IniDocument Parse(std::u16string_view text, Encoding encoding = Encoding::kAnsi);

  // The value of the first key named `key` in the first section named `section` (both
  // compared without regard to case), or nothing when absent or the line has no '='.
  std::optional<std::u16string> Find(std::u16string_view section, std::u16string_view key) const;
  // Sets the value; returns false when nothing changed.
  bool Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  std::u16string Text() const;  // CR LF after every line
  Encoding encoding() const { return encoding_; }

 private:
  std::optional<std::size_t> FindSection(std::u16string_view section) const;
  std::size_t SectionEnd(std::size_t header) const;

  std::vector<Line> lines_;
  Encoding encoding_ = Encoding::kAnsi;
};

// Profile functions ignore blanks, tabs and line-break characters around names and values.
std::u16string_view TrimProfileSpace(std::u16string_view text);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

#pragma once
// The system's ANSI code page, as a port so that tests can stand in another one.
#include <string>
#include <string_view>

class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::string ToAnsi(std::u16string_view text) const = 0;
  virtual std::u16string FromAnsi(std::string_view bytes) const = 0;
  // Whether the character's code in the code page is above 255 (a double-byte character).
  virtual bool IsDoubleByte(char16_t ch) const = 0;
};

// The code page the system runs with (936 on the target systems).
class SystemCodePage final : public CodePage {
 public:
  std::string ToAnsi(std::u16string_view text) const override;
  std::u16string FromAnsi(std::string_view bytes) const override;
  bool IsDoubleByte(char16_t ch) const override;
};

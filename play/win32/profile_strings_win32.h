#pragma once
// The system's own profile functions. A file they create is ANSI in the system code page.
#include "play/ports/profile_strings.h"

class Win32ProfileStrings final : public ProfileStrings {
 public:
  std::size_t GetString(std::u16string_view section, std::u16string_view key, std::u16string_view default_value,
                        char16_t* buffer, std::size_t size, std::u16string_view path) override;
  bool WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value,
                   std::u16string_view path) override;
  bool WriteNewSection(std::u16string_view section, const std::vector<Entry>& entries,
                       std::u16string_view path) override;
};

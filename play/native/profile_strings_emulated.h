#pragma once
// The system's profile-string functions reproduced over the files and code-page ports, for
// the host build and its tests. The same test suite runs against this and, under Wine,
// against the real functions, which keeps the two in step.
#include "play/ports/code_page.h"
#include "play/ports/files.h"
#include "play/ports/profile_strings.h"

class EmulatedProfileStrings final : public ProfileStrings {
 public:
  EmulatedProfileStrings(Files& files, const CodePage& code_page) : files_(files), code_page_(code_page) {}

  std::size_t GetString(std::u16string_view section, std::u16string_view key, std::u16string_view default_value,
                        char16_t* buffer, std::size_t size, std::u16string_view path) override;
  bool WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value,
                   std::u16string_view path) override;

 private:
  Files& files_;
  const CodePage& code_page_;
};

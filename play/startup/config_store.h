#pragma once
// Reading and writing config.ini. Nothing is cached: every read goes to the file and every
// write goes straight to it.
#include <string>
#include <string_view>

#include "play/ports/profile_strings.h"
#include "play/startup/config_keys.h"

// The text before the first NUL; a text without NUL comes back whole.
std::u16string TrimAtNul(std::u16string_view buffer);

// The value of section/key through a 255-character buffer: a missing file, section or key
// reads as `default_value`, an empty value as the empty text, a long value as its first 254
// characters.
std::u16string ReadIniValue(ProfileStrings& profile, std::u16string_view path, std::u16string_view section,
                            std::u16string_view key, std::u16string_view default_value);
std::u16string ReadIniValue(ProfileStrings& profile, std::u16string_view path, const config::Key& key);

// One write of the system's profile writer; the result is not examined by callers.
void WriteIniValue(ProfileStrings& profile, std::u16string_view path, const config::Key& key,
                   std::u16string_view value);

#include "play/startup/config_store.h"

#include <array>

std::u16string TrimAtNul(std::u16string_view buffer) {
  const auto nul = buffer.find(u'\0');
  return std::u16string(nul == std::u16string_view::npos ? buffer : buffer.substr(0, nul));
}

std::u16string ReadIniValue(ProfileStrings& profile, std::u16string_view path, std::u16string_view section,
                            std::u16string_view key, std::u16string_view default_value) {
  std::array<char16_t, 255> buffer{};
  const std::size_t count = profile.GetString(section, key, default_value, buffer.data(), buffer.size(), path);
  if (count == 0) return {};
  return TrimAtNul(std::u16string_view(buffer.data(), buffer.size()));
}

std::u16string ReadIniValue(ProfileStrings& profile, std::u16string_view path, const config::Key& key) {
  return ReadIniValue(profile, path, key.section, key.name, config::kUnset);
}

void WriteIniValue(ProfileStrings& profile, std::u16string_view path, const config::Key& key,
                   std::u16string_view value) {
  profile.WriteString(key.section, key.name, value, path);
}

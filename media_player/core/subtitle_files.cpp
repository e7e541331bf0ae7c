#include "media_player/core/subtitle_files.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::u16string_view, 4> kExtensions = {u".srt", u".ass", u".ssa", u".vtt"};

char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameFolded(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Fold(x) == Fold(y); });
}

std::u16string_view BaseName(std::u16string_view name) {
  const auto dot = name.rfind(u'.');
  return dot == std::u16string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

std::size_t ExtensionLength(std::u16string_view name) {
  for (std::u16string_view extension : kExtensions) {
    if (name.size() > extension.size() && SameFolded(name.substr(name.size() - extension.size()), extension)) {
      return extension.size();
    }
  }
  return 0;
}

}  // namespace

bool HasSubtitleExtension(std::u16string_view name) { return ExtensionLength(name) > 0; }

bool IsSubtitleFileFor(std::u16string_view video_name, std::u16string_view name) {
  const std::size_t extension = ExtensionLength(name);
  if (extension == 0 || name.find_first_of(u"\\/") != std::u16string_view::npos) return false;
  const std::u16string_view base = BaseName(video_name);
  if (base.empty()) return false;
  const std::u16string_view stem = name.substr(0, name.size() - extension);
  if (stem.size() < base.size() || !SameFolded(stem.substr(0, base.size()), base)) return false;
  // The base name alone, or followed by a language part after a dot.
  return stem.size() == base.size() || (stem.size() > base.size() + 1 && stem[base.size()] == u'.');
}

std::vector<std::u16string> SubtitleFilesFor(std::u16string_view video_name, const std::vector<std::u16string>& names) {
  std::vector<std::u16string> found;
  for (const std::u16string& name : names) {
    if (IsSubtitleFileFor(video_name, name)) found.push_back(name);
  }
  std::sort(found.begin(), found.end(), [](const std::u16string& a, const std::u16string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
  });
  return found;
}

std::u16string SubtitleFileLabel(std::u16string_view video_name, std::u16string_view name) {
  const std::size_t extension = ExtensionLength(name);
  const std::size_t base = BaseName(video_name).size();
  const std::size_t stem = name.size() - extension;
  if (extension > 0 && stem > base + 1) return std::u16string(name.substr(base + 1, stem - base - 1));
  return std::u16string(name.substr(name.size() - extension + (extension > 0 ? 1 : 0)));
}

std::vector<std::string> SubtitleAddressesFor(std::string_view address) {
  const auto scheme = address.find("://");
  if (scheme == std::string_view::npos) return {};
  const std::string_view path_part = address.substr(0, address.find_first_of("?#"));
  const auto slash = path_part.rfind('/');
  if (slash == std::string_view::npos || slash < scheme + 3 || slash + 1 >= path_part.size()) return {};
  const auto dot = path_part.rfind('.');
  const std::string_view stem = dot != std::string_view::npos && dot > slash + 1 ? path_part.substr(0, dot) : path_part;
  std::vector<std::string> addresses;
  for (std::u16string_view extension : kExtensions) {
    std::string tail(extension.begin(), extension.end());  // ASCII
    addresses.push_back(std::string(stem) + tail);
  }
  return addresses;
}

#include "tips/media_name.h"

#include <algorithm>

bool IsSafeMediaName(std::string_view name) {
  if (name.empty() || name.find("..") != std::string_view::npos) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
  });
}

std::string MediaPathForUrl(std::string_view store_folder, std::string_view flash_url) {
  const auto slash = flash_url.rfind('/');
  if (slash == std::string_view::npos) return {};
  const std::string_view name = flash_url.substr(slash + 1);
  if (!IsSafeMediaName(name)) return {};
  return std::string(store_folder) + std::string(name);
}

bool IsInsideStoreFolder(std::string_view path, std::string_view store_folder) {
  if (store_folder.empty() || path.size() <= store_folder.size()) return false;
  const bool same_folder = std::equal(store_folder.begin(), store_folder.end(), path.begin(), [](char a, char b) {
    auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : (c == '/' ? '\\' : c); };
    return fold(a) == fold(b);
  });
  return same_folder && IsSafeMediaName(path.substr(store_folder.size()));
}

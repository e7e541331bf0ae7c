#include "media_player/win32/cache_sidecars_win32.h"

#include <windows.h>

#include <cstdlib>

#include "common/win32/unique_handle.h"

namespace {

std::string ReadSmallFile(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  char text[1024] = {};
  DWORD got = 0;
  if (!ReadFile(file.get(), text, sizeof text - 1, &got, nullptr)) return {};
  return std::string(text, got);
}

void WriteSmallFile(const std::wstring& path, const std::string& text) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return;
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

std::wstring CompleteMarkOf(const std::wstring& cache_file) { return cache_file + L".size"; }
std::wstring ItemTagOf(const std::wstring& cache_file) { return cache_file + L".tag"; }

std::int64_t ReadCompleteMark(const std::wstring& mark) {
  const std::string text = ReadSmallFile(mark);
  return text.empty() ? -1 : std::strtoll(text.c_str(), nullptr, 10);
}

void WriteCompleteMark(const std::wstring& mark, std::int64_t size) { WriteSmallFile(mark, std::to_string(size)); }

ItemTag ReadItemTag(const std::wstring& path) {
  const std::string text = ReadSmallFile(path);
  ItemTag tag;
  if (text.empty()) return tag;
  char* end = nullptr;
  tag.size = std::strtoll(text.c_str(), &end, 10);
  if (end && *end == ' ') tag.validator = std::string(end + 1);
  return tag;
}

// Its announced size (or -1) and its validator, on a line.
void WriteItemTag(const std::wstring& path, const ItemTag& tag) {
  WriteSmallFile(path, std::to_string(tag.size) + " " + tag.validator);
}

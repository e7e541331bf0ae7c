#include "media_player/win32/media_cache_win32.h"

#include <windows.h>

#include <algorithm>

#include "media_player/win32/cache_sidecars_win32.h"

namespace {

std::int64_t Seconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<std::int64_t>(value.QuadPart / 10000000ULL);
}

template <typename Visit>
void ForEachCacheFile(Visit visit) {
  const std::wstring folder = MediaCacheFolder();
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"*.media").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) visit(folder + found.cFileName, found);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void DeleteCacheFile(const std::wstring& path) {
  DeleteFileW(path.c_str());
  DeleteFileW(CompleteMarkOf(path).c_str());
  DeleteFileW(ItemTagOf(path).c_str());
}

}  // namespace

std::wstring MediaCacheFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH, temp);
  std::wstring folder = length > 0 && length <= MAX_PATH ? std::wstring(temp, length) : L".\\";
  if (folder.back() != L'\\') folder += L'\\';
  folder += L"VexoMedia\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::wstring MediaCacheFileFor(std::u16string_view address) { return MediaCacheFolder() + CacheFileName(address); }

void TrimMediaCache(const std::vector<std::wstring>& in_use, const CacheBounds& bounds) {
  std::vector<CacheEntry> entries;
  ForEachCacheFile([&](const std::wstring& path, const WIN32_FIND_DATAW& found) {
    CacheEntry entry;
    entry.name = path;
    entry.bytes = (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    entry.last_used_s = Seconds(found.ftLastWriteTime);
    entry.in_use = std::find(in_use.begin(), in_use.end(), path) != in_use.end();
    entries.push_back(std::move(entry));
  });
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  for (const std::wstring& path : PlanCacheEviction(std::move(entries), Seconds(now), bounds)) DeleteCacheFile(path);
}

std::int64_t CacheBytesBesides(const std::vector<std::wstring>& files) {
  std::int64_t bytes = 0;
  ForEachCacheFile([&](const std::wstring& path, const WIN32_FIND_DATAW& found) {
    if (std::find(files.begin(), files.end(), path) != files.end()) return;
    bytes += (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  });
  return bytes;
}

std::int64_t FreeBytesOfDiskOf(const std::wstring& file) {
  const std::wstring folder = file.substr(0, file.find_last_of(L'\\') + 1);
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) return -1;
  return static_cast<std::int64_t>(available.QuadPart);
}

void ClearMediaCache() {
  ForEachCacheFile([](const std::wstring& path, const WIN32_FIND_DATAW&) { DeleteCacheFile(path); });
}

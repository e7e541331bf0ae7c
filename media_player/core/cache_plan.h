#pragma once
// The download cache's bounds: which files to delete so that the folder stays under its size
// and no file outlives its age. Files in use (playing or being fetched) are never chosen.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CacheEntry {
  std::wstring name;
  std::int64_t bytes = 0;
  std::int64_t last_used_s = 0;  // seconds on any steady scale
  bool in_use = false;
};

struct CacheBounds {
  std::int64_t max_bytes = 1024LL * 1024 * 1024;
  std::int64_t max_age_s = 24 * 3600;
};

// The names to delete, oldest first.
std::vector<std::wstring> PlanCacheEviction(std::vector<CacheEntry> entries, std::int64_t now_s,
                                            const CacheBounds& bounds);

// The cache file's name for a media address: the same address gives the same name, others
// (almost surely) another one; only letters and digits, so any address is safe as a name.
std::wstring CacheFileName(std::u16string_view address);

#include "media_player/core/cache_plan.h"

#include <algorithm>
#include <cstdio>

std::vector<std::wstring> PlanCacheEviction(std::vector<CacheEntry> entries, std::int64_t now_s,
                                            const CacheBounds& bounds) {
  std::sort(entries.begin(), entries.end(),
            [](const CacheEntry& a, const CacheEntry& b) { return a.last_used_s < b.last_used_s; });
  std::int64_t total = 0;
  for (const CacheEntry& entry : entries) total += std::max<std::int64_t>(0, entry.bytes);
  std::vector<std::wstring> doomed;
  for (const CacheEntry& entry : entries) {
    if (entry.in_use) continue;
    const bool too_old = now_s - entry.last_used_s > bounds.max_age_s;
    if (too_old || total > bounds.max_bytes) {
      doomed.push_back(entry.name);
      total -= std::max<std::int64_t>(0, entry.bytes);
    }
  }
  return doomed;
}

std::wstring CacheFileName(std::u16string_view address) {
  // FNV-1a over the code units, 64 bits.
  std::uint64_t hash = 14695981039346656037ULL;
  for (char16_t unit : address) {
    hash ^= static_cast<std::uint64_t>(unit);
    hash *= 1099511628211ULL;
  }
  wchar_t name[32];
  std::swprintf(name, 32, L"%016llx.media", static_cast<unsigned long long>(hash));
  return name;
}

#pragma once
// The folder where http items are fetched to, under the user's temporary folder. It is kept
// within its bounds whenever a fetch starts and emptied when the last control goes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "media_player/core/cache_plan.h"

std::wstring MediaCacheFolder();
std::wstring MediaCacheFileFor(std::u16string_view address);
// Deletes what the bounds choose; files in `in_use` stay.
void TrimMediaCache(const std::vector<std::wstring>& in_use, const CacheBounds& bounds = {});
// The bytes of the fetched items but those of `files`.
std::int64_t CacheBytesBesides(const std::vector<std::wstring>& files);
// The free space (for this user) of the disk a file is on, or -1.
std::int64_t FreeBytesOfDiskOf(const std::wstring& file);
// Deletes every fetched file (a file still open goes when it is closed).
void ClearMediaCache();

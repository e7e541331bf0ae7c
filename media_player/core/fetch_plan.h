#pragma once
// What a fetch may write, and whether an answer to a resumed request may be added to what the
// cache already holds. A fetch writes only what its server announced, stops at a cap without
// an announcement, keeps the disk's last free space, and, when it fetches ahead, stays within
// the cache's bound; a resumed answer that is not the same file as before starts over.
#include <cstdint>
#include <string>

struct FetchBounds {
  std::int64_t max_item_bytes = 16LL << 30;   // an item never grows past this, announced or not
  std::int64_t min_free_bytes = 512LL << 20;  // the disk keeps at least this much
  std::int64_t cache_bytes = 1LL << 30;       // the cache folder, the playing items aside
};

enum class FetchStop {
  kNone,       // go on
  kComplete,   // all the server announced is there
  kCapped,     // an item without (or beyond) a length reached the cap: it ends here
  kDiskLow,    // the disk's free space reached its floor: the item has what it has
  kCacheFull,  // a fetch ahead reached the cache's bound: it waits to be the playing one
};

struct WritePlan {
  std::int64_t write = 0;  // of the bytes just read
  FetchStop stop = FetchStop::kNone;
};

// For `got` bytes just read, with `fetched` bytes of the item written before and `total` the
// size the server announced (-1: none). `free_bytes` is the disk's free space and
// `others_bytes` the cache folder's size without the playing items, each -1 when not measured
// this time; `playing` tells whether this is the item being played.
WritePlan PlanWrite(std::int64_t fetched, std::int64_t total, std::int64_t got, std::int64_t free_bytes,
                    std::int64_t others_bytes, bool playing, const FetchBounds& bounds);

// What the server's answer to a request from `from` on means for the cache file.
enum class ResumeVerdict { kAppend, kStartOver, kFail };
// `status` the answer's code, `first` and `size` from its Content-Range (-1 when missing),
// `known_size` what the first answer announced (-1: unknown).
ResumeVerdict CheckResume(int status, std::int64_t from, std::int64_t first, std::int64_t size,
                          std::int64_t known_size);

// The validator a resumed request sends in If-Range, from the first answer's headers: the
// strong ETag, else Last-Modified; empty when there is none (a weak ETag cannot validate a
// range).
std::string RangeValidator(const std::string& etag, const std::string& last_modified);

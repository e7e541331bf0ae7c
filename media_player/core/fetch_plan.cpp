#include "media_player/core/fetch_plan.h"

#include <algorithm>

WritePlan PlanWrite(std::int64_t fetched, std::int64_t total, std::int64_t got, std::int64_t free_bytes,
                    std::int64_t others_bytes, bool playing, const FetchBounds& bounds) {
  WritePlan plan;
  const std::int64_t limit = total >= 0 ? std::min(total, bounds.max_item_bytes) : bounds.max_item_bytes;
  plan.write = std::clamp<std::int64_t>(limit - fetched, 0, std::max<std::int64_t>(0, got));
  if (free_bytes >= 0 && free_bytes - plan.write < bounds.min_free_bytes) {
    plan.write = std::clamp<std::int64_t>(free_bytes - bounds.min_free_bytes, 0, plan.write);
    plan.stop = FetchStop::kDiskLow;
    return plan;
  }
  if (!playing && others_bytes >= 0 && others_bytes + plan.write > bounds.cache_bytes) {
    plan.write = std::clamp<std::int64_t>(bounds.cache_bytes - others_bytes, 0, plan.write);
    plan.stop = FetchStop::kCacheFull;
    return plan;
  }
  if (fetched + plan.write >= limit) {
    plan.stop = total >= 0 && fetched + plan.write >= total ? FetchStop::kComplete : FetchStop::kCapped;
  }
  return plan;
}

ResumeVerdict CheckResume(int status, std::int64_t from, std::int64_t first, std::int64_t size,
                          std::int64_t known_size) {
  // The whole item again: the server would not (or, with If-Range, found it changed).
  if (status == 200) return ResumeVerdict::kStartOver;
  if (status != 206 || from <= 0) return ResumeVerdict::kFail;
  if (first != from) return ResumeVerdict::kFail;
  // Another size is another file, whatever the server says of it.
  if (known_size >= 0 && size >= 0 && size != known_size) return ResumeVerdict::kStartOver;
  return ResumeVerdict::kAppend;
}

std::string RangeValidator(const std::string& etag, const std::string& last_modified) {
  if (!etag.empty() && etag.rfind("W/", 0) != 0) return etag;
  return last_modified;
}

#pragma once
// Counts what a download has fetched, for the control's share (per mille of the bytes) and
// rate (kilobytes per second over the last seconds). The caller serialises access.
#include <cstdint>
#include <deque>

class DownloadMeter {
 public:
  using Ms = std::int64_t;

  // A new download of `total` bytes (-1 when the server does not say), of which `already`
  // came from the cache.
  void Begin(std::int64_t total, std::int64_t already, Ms now);
  void Add(std::int64_t bytes, Ms now);
  void Finish(Ms now);  // everything is there (the total becomes what was fetched)

  long PerMille() const;
  long RateKilobytesPerSecond(Ms now) const;
  std::int64_t fetched() const { return fetched_; }
  std::int64_t total() const { return total_; }
  bool finished() const { return finished_; }

 private:
  struct Step {
    Ms at;
    std::int64_t bytes;
  };
  std::int64_t total_ = -1;
  std::int64_t fetched_ = 0;
  bool finished_ = false;
  std::deque<Step> recent_;  // the bytes of the last window, for the rate
};

// The item's bit rate in kilobits per second, from its size and length.
long MediaKilobitsPerSecond(std::int64_t bytes, std::int64_t duration_ms);

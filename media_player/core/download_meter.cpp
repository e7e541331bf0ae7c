#include "media_player/core/download_meter.h"

#include <algorithm>

namespace {

constexpr DownloadMeter::Ms kRateWindowMs = 2000;

}  // namespace

void DownloadMeter::Begin(std::int64_t total, std::int64_t already, Ms now) {
  total_ = total;
  fetched_ = std::max<std::int64_t>(0, already);
  finished_ = total >= 0 && fetched_ >= total;
  recent_.clear();
}

void DownloadMeter::Add(std::int64_t bytes, Ms now) {
  if (bytes <= 0) return;
  fetched_ += bytes;
  recent_.push_back({now, bytes});
  while (!recent_.empty() && recent_.front().at < now - kRateWindowMs) recent_.pop_front();
}

void DownloadMeter::Finish(Ms now) {
  finished_ = true;
  total_ = fetched_;
}

long DownloadMeter::PerMille() const {
  if (finished_) return 1000;
  if (total_ <= 0) return 0;
  // Never 1000 before the last byte: the program takes 1000 as "all there".
  return static_cast<long>(std::min<std::int64_t>(999, fetched_ * 1000 / total_));
}

long DownloadMeter::RateKilobytesPerSecond(Ms now) const {
  if (finished_) return 0;
  std::int64_t bytes = 0;
  for (const Step& step : recent_) {
    if (step.at >= now - kRateWindowMs) bytes += step.bytes;
  }
  return static_cast<long>(bytes * 1000 / kRateWindowMs / 1024);
}

long MediaKilobitsPerSecond(std::int64_t bytes, std::int64_t duration_ms) {
  if (bytes <= 0 || duration_ms <= 0) return 0;
  return static_cast<long>(bytes * 8 / duration_ms);
}

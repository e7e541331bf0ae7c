#include "media_player/core/pcm_volume.h"

#include <algorithm>
#include <cstdlib>

int ScalePcm16(std::int16_t* samples, std::size_t count, long volume, bool muted) {
  volume = std::clamp(volume, 0L, 100L);
  const int gain = muted ? 0 : static_cast<int>(volume * volume * 65536 / 10000);  // 16.16
  int peak = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const int scaled = static_cast<int>((static_cast<long long>(samples[i]) * gain) >> 16);
    samples[i] = static_cast<std::int16_t>(scaled);
    peak = std::max(peak, std::abs(scaled));
  }
  return peak;
}

int ToneOfPcm16(const std::int16_t* samples, std::size_t count, int channels, int rate) {
  if (channels <= 0 || rate <= 0) return 0;
  // A little hysteresis, so that noise about zero is no crossing.
  constexpr int kThreshold = 64;
  const std::size_t frames = count / static_cast<std::size_t>(channels);
  bool below = false;
  std::int64_t first = -1, last = -1, crossings = 0;
  for (std::size_t i = 0; i < frames; ++i) {
    const int sample = samples[i * static_cast<std::size_t>(channels)];
    if (sample < -kThreshold) {
      below = true;
    } else if (below && sample > kThreshold) {
      below = false;
      if (first < 0) first = static_cast<std::int64_t>(i);
      last = static_cast<std::int64_t>(i);
      ++crossings;
    }
  }
  if (crossings < 3 || last <= first) return 0;
  return static_cast<int>(((crossings - 1) * static_cast<std::int64_t>(rate) * 2 + (last - first)) /
                          (2 * (last - first)));
}

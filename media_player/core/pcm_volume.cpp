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

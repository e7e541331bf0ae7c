#pragma once
// The sound at another speed with its pitch kept, through libavfilter's atempo filter:
// 16-bit interleaved stereo in, the same out, fewer or more samples. At 1x it is a copy.
#include <cstdint>
#include <vector>

struct AVFilterGraph;
struct AVFilterContext;
struct AVFrame;

class SoundTempo {
 public:
  SoundTempo() = default;
  ~SoundTempo();
  SoundTempo(const SoundTempo&) = delete;
  SoundTempo& operator=(const SoundTempo&) = delete;

  // The speed (per mille, 500 to 2000) of sound at `rate`; what the filter held is dropped.
  bool Set(int per_mille, int rate);
  // After a seek: the filter starts again empty, at the same speed.
  void Reset() { Set(per_mille_, rate_); }
  int per_mille() const { return per_mille_; }
  // Appends to `out` what `bytes` of sound come to at the speed (the filter holds some back).
  bool Process(const std::uint8_t* in, std::size_t bytes, std::vector<std::uint8_t>& out);

 private:
  void Free();
  int per_mille_ = 1000, rate_ = 0;
  AVFilterGraph* graph_ = nullptr;
  AVFilterContext* source_ = nullptr;
  AVFilterContext* sink_ = nullptr;
  AVFrame* frame_ = nullptr;
};

#include "media_player/core/playback_clock.h"

#include <cstdlib>

namespace {

// The device must have played this long before its pace is judged.
constexpr PlaybackClock::Ms kJudgeAfterMs = 2000;
// Paces within this share of real time (in per mille) are a real device playing.
constexpr PlaybackClock::Ms kPaceTolerancePerMille = 20;

}  // namespace

void PlaybackClock::Start(Ms wall_now) {
  if (running_) return;
  base_wall_ = wall_now;
  running_ = true;
  ForgetAudio();
}

void PlaybackClock::Freeze(Ms wall_now) {
  if (!running_) return;
  base_media_ = Media(wall_now);
  base_wall_ = wall_now;
  running_ = false;
  ForgetAudio();
}

void PlaybackClock::Set(Ms media, Ms wall_now) {
  base_media_ = media < 0 ? 0 : media;
  base_wall_ = wall_now;
  ForgetAudio();
}

PlaybackClock::Ms PlaybackClock::Media(Ms wall_now) const {
  if (!running_ || wall_now < base_wall_) return base_media_;
  return base_media_ + (wall_now - base_wall_) * speed_ / 1000;
}

void PlaybackClock::SetSpeed(int per_mille, Ms wall_now) {
  if (per_mille <= 0 || per_mille == speed_) return;
  base_media_ = Media(wall_now);
  base_wall_ = wall_now;
  speed_ = per_mille;
  ForgetAudio();
}

void PlaybackClock::AudioReport(Ms audio_media, Ms wall_now) {
  if (!running_) return;
  if (!have_anchor_) {
    have_anchor_ = true;
    anchor_audio_ = audio_media;
    anchor_wall_ = wall_now;
    return;
  }
  const Ms wall_span = wall_now - anchor_wall_;
  if (wall_span < kJudgeAfterMs) return;
  const Ms audio_span = audio_media - anchor_audio_;
  const Ms due_span = wall_span * speed_ / 1000;
  const bool real_pace = std::llabs(audio_span - due_span) * 1000 <= due_span * kPaceTolerancePerMille;
  following_audio_ = real_pace;
  if (real_pace) {
    base_media_ = audio_media;
    base_wall_ = wall_now;
  }
}

void PlaybackClock::ForgetAudio() {
  have_anchor_ = false;
  following_audio_ = false;
}

#pragma once
// The media clock: where in the item playback is, in milliseconds. It runs on the system
// clock; while an audio device reports a pace within a few per cent of real time it follows
// the device instead, so that sound and picture stay together over a long episode. A device
// that runs far too fast (a null device) or stalls is never followed. At a speed other than
// 1x the item's time runs that much faster than the system's, and so does a real device's.
#include <cstdint>

class PlaybackClock {
 public:
  using Ms = std::int64_t;

  void Start(Ms wall_now);
  void Freeze(Ms wall_now);
  void Set(Ms media, Ms wall_now);
  Ms Media(Ms wall_now) const;
  bool running() const { return running_; }
  // From now on the item's time runs `per_mille` / 1000 as fast as the system's.
  void SetSpeed(int per_mille, Ms wall_now);
  int speed() const { return speed_; }

  // The device has played the sound up to `audio_media` at `wall_now`.
  void AudioReport(Ms audio_media, Ms wall_now);
  bool following_audio() const { return following_audio_; }

 private:
  void ForgetAudio();

  bool running_ = false;
  Ms base_media_ = 0;  // the media time at base_wall_
  Ms base_wall_ = 0;
  bool have_anchor_ = false;
  Ms anchor_audio_ = 0;  // the first audio report since the clock last started or moved
  Ms anchor_wall_ = 0;
  bool following_audio_ = false;
  int speed_ = 1000;  // per mille
};

#pragma once
// What the control answers about playback, kept apart from decoding so that it can be reasoned
// about on its own. The caller's commands (Load, Play, Pause, Stop, Seek) come from the window
// thread; the decoder's reports (Opened, FrameReady, Ended, Failed) come from its thread and
// name the request they answer, so that a report about an address or a seek since left
// behind changes nothing. The caller serialises access.
#include <cstdint>
#include <string>

#include "media_player/core/playback_clock.h"

// What the decoder must do next; the control reads it after each command.
struct DecoderRequest {
  enum class Kind { kNone, kClose, kOpen, kSeek };
  Kind kind = Kind::kNone;
  std::uint64_t generation = 0;  // reports carry it back
  std::int64_t position_ms = 0;  // where to start or seek to
  bool recreate = false;         // the reader has reached its end: open it again to seek
};

class PlaybackSession {
 public:
  using Ms = PlaybackClock::Ms;

  // Commands.
  DecoderRequest Load(Ms now);
  DecoderRequest Play(Ms now);
  void Pause(Ms now);
  DecoderRequest Stop(Ms now);
  DecoderRequest Seek(Ms target, Ms now);

  // Reports from the decoder about the request `generation`.
  void Opened(std::uint64_t generation, Ms duration, Ms now);
  void FrameReady(std::uint64_t generation, Ms now);  // the first picture at the target is there
  void Starved(std::uint64_t generation, Ms now);     // the data has not arrived yet (a download)
  void Ended(std::uint64_t generation, Ms end, Ms now);
  void Failed(std::uint64_t generation, Ms now);

  // Answers, in the control's own units and codes.
  int State(Ms now) const;
  Ms PositionMs(Ms now) const;
  long Position(Ms now) const { return static_cast<long>(PositionMs(now) / 1000); }
  // Whole seconds, rounded: an item of 5.97 s is 6 s long.
  long Duration() const { return static_cast<long>((duration_ + 500) / 1000); }
  bool HasMedia() const { return phase_ != Phase::kIdle; }
  bool ClockRunning() const { return clock_.running(); }
  PlaybackClock& clock() { return clock_; }
  std::uint64_t generation() const { return generation_; }

 private:
  enum class Phase { kIdle, kStopped, kConnecting, kBuffering, kPlaying, kPaused, kFailed };
  bool Current(std::uint64_t generation) const { return generation == generation_ && phase_ != Phase::kIdle; }
  DecoderRequest Request(DecoderRequest::Kind kind, Ms position, bool recreate = false);
  bool AtEnd(Ms now) const;

  Phase phase_ = Phase::kIdle;
  PlaybackClock clock_;
  std::uint64_t generation_ = 0;       // of the last request
  std::uint64_t open_generation_ = 0;  // of the last open
  bool pause_when_ready_ = false;      // a seek while paused shows its picture and stays paused
  Ms duration_ = 0;
  Ms end_ = -1;      // where the decoder found the stream to end, once it has
  Ms start_at_ = 0;  // where the next Play starts an item that is not open
};

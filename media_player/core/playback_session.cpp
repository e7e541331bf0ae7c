#include "media_player/core/playback_session.h"

#include <algorithm>

#include "play/ports/player_control.h"

DecoderRequest PlaybackSession::Request(DecoderRequest::Kind kind, Ms position, bool recreate) {
  DecoderRequest request;
  request.kind = kind;
  request.generation = ++generation_;
  request.position_ms = position;
  request.recreate = recreate;
  if (kind == DecoderRequest::Kind::kOpen) open_generation_ = request.generation;
  return request;
}

DecoderRequest PlaybackSession::Load(Ms now) {
  phase_ = Phase::kIdle;
  duration_ = 0;
  end_ = -1;
  start_at_ = 0;
  pause_when_ready_ = false;
  clock_.Freeze(now);
  clock_.Set(0, now);
  return Request(DecoderRequest::Kind::kClose, 0);
}

DecoderRequest PlaybackSession::Play(Ms now) {
  switch (phase_) {
    case Phase::kIdle:
    case Phase::kStopped:
    case Phase::kFailed:
      phase_ = Phase::kConnecting;
      duration_ = 0;
      end_ = -1;
      pause_when_ready_ = false;
      clock_.Freeze(now);
      clock_.Set(start_at_, now);
      return Request(DecoderRequest::Kind::kOpen, start_at_);
    case Phase::kPaused:
      if (pause_when_ready_) {
        // The picture of a seek made while paused has not come yet: play once it does.
        pause_when_ready_ = false;
        phase_ = Phase::kBuffering;
      } else {
        phase_ = Phase::kPlaying;
        clock_.Start(now);
      }
      return {};
    case Phase::kPlaying:
      if (AtEnd(now)) return Seek(0, now);
      return {};
    case Phase::kConnecting:
    case Phase::kBuffering: return {};
  }
  return {};
}

void PlaybackSession::Pause(Ms now) {
  if (phase_ == Phase::kPlaying && !AtEnd(now)) {
    phase_ = Phase::kPaused;
    clock_.Freeze(now);
  } else if (phase_ == Phase::kBuffering) {
    phase_ = Phase::kPaused;
    pause_when_ready_ = true;
  }
}

DecoderRequest PlaybackSession::Stop(Ms now) {
  if (phase_ == Phase::kIdle) return {};
  phase_ = Phase::kStopped;
  start_at_ = 0;
  end_ = -1;
  pause_when_ready_ = false;
  clock_.Freeze(now);
  clock_.Set(0, now);
  return Request(DecoderRequest::Kind::kClose, 0);
}

DecoderRequest PlaybackSession::Seek(Ms target, Ms now) {
  target = std::max<Ms>(0, duration_ > 0 ? std::min(target, duration_) : target);
  switch (phase_) {
    case Phase::kIdle:
    case Phase::kStopped:
    case Phase::kFailed: start_at_ = target; return {};
    case Phase::kConnecting: clock_.Set(target, now); return Request(DecoderRequest::Kind::kSeek, target);
    case Phase::kPaused: pause_when_ready_ = true; break;
    case Phase::kPlaying:
    case Phase::kBuffering: phase_ = Phase::kBuffering; break;
  }
  // The reader cannot seek once it has given its end of stream: it is opened again.
  const bool recreate = end_ >= 0;
  end_ = -1;
  clock_.Freeze(now);
  clock_.Set(target, now);
  return Request(DecoderRequest::Kind::kSeek, target, recreate);
}

void PlaybackSession::Opened(std::uint64_t generation, Ms duration, Ms now) {
  if (generation != open_generation_ || phase_ != Phase::kConnecting) return;
  duration_ = std::max<Ms>(0, duration);
  phase_ = Phase::kBuffering;
}

void PlaybackSession::FrameReady(std::uint64_t generation, Ms now) {
  if (!Current(generation)) return;
  if (phase_ == Phase::kBuffering) {
    phase_ = Phase::kPlaying;
    clock_.Start(now);
  } else if (phase_ == Phase::kPaused) {
    pause_when_ready_ = false;
  }
}

void PlaybackSession::Starved(std::uint64_t generation, Ms now) {
  if (!Current(generation) || phase_ != Phase::kPlaying || AtEnd(now)) return;
  phase_ = Phase::kBuffering;
  clock_.Freeze(now);
}

void PlaybackSession::Ended(std::uint64_t generation, Ms end, Ms now) {
  if (!Current(generation)) return;
  end_ = std::max<Ms>(0, end);
  if (duration_ <= 0) duration_ = end_;
  // An item that ends before it ever showed a picture ends at once.
  if (phase_ == Phase::kBuffering || phase_ == Phase::kConnecting) {
    phase_ = Phase::kPlaying;
    clock_.Set(std::max(clock_.Media(now), end_), now);
    clock_.Start(now);
  }
}

void PlaybackSession::Failed(std::uint64_t generation, Ms now) {
  if (generation < open_generation_ || phase_ == Phase::kIdle || phase_ == Phase::kStopped) return;
  phase_ = Phase::kFailed;
  duration_ = 0;
  end_ = -1;
  start_at_ = 0;
  clock_.Freeze(now);
  clock_.Set(0, now);
}

bool PlaybackSession::AtEnd(Ms now) const { return end_ >= 0 && clock_.Media(now) >= end_; }

int PlaybackSession::State(Ms now) const {
  switch (phase_) {
    case Phase::kIdle: return player::kIdle;
    case Phase::kStopped:
    case Phase::kFailed: return player::kStopped;
    case Phase::kConnecting: return player::kConnecting;
    case Phase::kBuffering: return player::kBuffering;
    case Phase::kPaused: return player::kPaused;
    case Phase::kPlaying: return AtEnd(now) ? player::kEnded : player::kPlaying;
  }
  return player::kIdle;
}

PlaybackSession::Ms PlaybackSession::PositionMs(Ms now) const {
  if (phase_ == Phase::kIdle || phase_ == Phase::kStopped || phase_ == Phase::kFailed) return start_at_;
  if (phase_ == Phase::kPlaying && AtEnd(now)) return std::max(duration_, end_);
  const Ms media = clock_.Media(now);
  return duration_ > 0 ? std::min(media, duration_) : media;
}

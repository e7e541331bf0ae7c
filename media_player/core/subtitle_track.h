#pragma once
// One subtitle track: its script's styles and its events in time, and which of them show at a
// moment of the item (with the user's offset applied by the caller).
#include <cstdint>
#include <string>
#include <vector>

#include "media_player/core/subtitle_text.h"

struct TimedSubtitle {
  std::int64_t start_ms = 0, end_ms = 0;
  SubtitleCue cue;
};

class SubtitleTrack {
 public:
  static constexpr std::size_t kMaxEvents = 50000;  // a film has a few thousand

  explicit SubtitleTrack(SubtitleScript script = {}) : script_(std::move(script)) {}
  const SubtitleScript& script() const { return script_; }

  // An event as a decoder gives it; empty ones and those past the bound are left out.
  void Add(std::int64_t start_ms, std::int64_t end_ms, const std::string& event);
  // Sorts what was added; call once every event is in.
  void Finish();
  std::size_t size() const { return events_.size(); }

  // The indexes of the events showing at `ms`, in their order in time; the same list for the
  // same cues, so that a caller redraws only when it changes.
  std::vector<std::size_t> ShowingAt(std::int64_t ms) const;
  const TimedSubtitle& at(std::size_t index) const { return events_[index]; }

 private:
  SubtitleScript script_;
  std::vector<TimedSubtitle> events_;
  std::int64_t longest_ms_ = 0;  // how far back an event may start and still show
};

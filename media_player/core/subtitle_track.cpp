#include "media_player/core/subtitle_track.h"

#include <algorithm>

void SubtitleTrack::Add(std::int64_t start_ms, std::int64_t end_ms, const std::string& event) {
  if (events_.size() >= kMaxEvents || end_ms <= start_ms) return;
  SubtitleCue cue = ParseSubtitleEvent(event, script_);
  if (cue.empty()) return;
  longest_ms_ = std::max(longest_ms_, end_ms - start_ms);
  events_.push_back(TimedSubtitle{start_ms, end_ms, std::move(cue)});
}

void SubtitleTrack::Finish() {
  std::stable_sort(events_.begin(), events_.end(),
                   [](const TimedSubtitle& a, const TimedSubtitle& b) { return a.start_ms < b.start_ms; });
}

std::vector<std::size_t> SubtitleTrack::ShowingAt(std::int64_t ms) const {
  std::vector<std::size_t> showing;
  // Events start in order: those that may still show started at most the longest length ago.
  auto first = std::lower_bound(events_.begin(), events_.end(), ms - longest_ms_,
                                [](const TimedSubtitle& e, std::int64_t t) { return e.start_ms < t; });
  for (auto it = first; it != events_.end() && it->start_ms <= ms; ++it) {
    if (ms < it->end_ms) showing.push_back(static_cast<std::size_t>(it - events_.begin()));
  }
  return showing;
}

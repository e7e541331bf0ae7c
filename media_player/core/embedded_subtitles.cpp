#include "media_player/core/embedded_subtitles.h"

#include <functional>

namespace {

constexpr int kMaxTracks = 64;

}  // namespace

void EmbeddedSubtitles::SetScript(int track, const SubtitleScript& script) {
  const std::lock_guard lock(mutex_);
  if (track < 0 || track >= kMaxTracks) return;
  Entry& entry = tracks_[track];
  if (!entry.track) entry.script = script;
}

void EmbeddedSubtitles::Add(int track, std::int64_t start_ms, std::int64_t end_ms, const std::string& event) {
  const std::lock_guard lock(mutex_);
  if (track < 0 || track >= kMaxTracks) return;
  Entry& entry = tracks_[track];
  if (entry.seen.size() >= SubtitleTrack::kMaxEvents) return;
  if (!entry.seen.emplace(start_ms, end_ms, std::hash<std::string>{}(event)).second) return;
  auto next =
      entry.track ? std::make_shared<SubtitleTrack>(*entry.track) : std::make_shared<SubtitleTrack>(entry.script);
  const std::size_t before = next->size();
  next->Add(start_ms, end_ms, event);
  if (next->size() == before) return;  // nothing to draw in it
  next->Finish();
  entry.track = std::move(next);
}

std::shared_ptr<const SubtitleTrack> EmbeddedSubtitles::Track(int track) {
  const std::lock_guard lock(mutex_);
  const auto found = tracks_.find(track);
  return found == tracks_.end() ? nullptr : found->second.track;
}

#pragma once
// The text subtitle tracks inside an item, filled as the demuxer meets their packets (a
// Matroska or MP4 file keeps them beside the pictures of their time): the decoding thread
// adds events, the window thread takes the track it shows. Each addition publishes a new
// track, so that a reader never sees one being changed; an event read again after a seek
// back is not added twice.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <tuple>

#include "media_player/core/subtitle_track.h"

class EmbeddedSubtitles {
 public:
  // The script header of the n-th text track (its decoder's), before its events.
  void SetScript(int track, const SubtitleScript& script);
  void Add(int track, std::int64_t start_ms, std::int64_t end_ms, const std::string& event);
  // The track as far as it has been read: null before its first event.
  std::shared_ptr<const SubtitleTrack> Track(int track);

 private:
  struct Entry {
    SubtitleScript script;
    std::shared_ptr<const SubtitleTrack> track;
    std::set<std::tuple<std::int64_t, std::int64_t, std::size_t>> seen;
  };
  std::mutex mutex_;
  std::map<int, Entry> tracks_;
};

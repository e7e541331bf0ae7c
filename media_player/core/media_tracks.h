#pragma once
// The sound and subtitle streams of an item as the picture's menu lists them: what the
// container says of each (language, title, whether it is the default one) and the name the
// menu gives it.
#include <string>
#include <string_view>
#include <vector>

struct MediaTrack {
  enum class Kind { kAudio, kTextSubtitle, kPictureSubtitle };
  Kind kind = Kind::kAudio;
  int stream = -1;       // the container's stream index
  std::string language;  // the container's code ("chi", "en", "zh-CN"), or empty
  std::string title;     // UTF-8, or empty
  bool is_default = false;
};

struct MediaTracks {
  std::vector<MediaTrack> audio;      // in the container's order
  std::vector<MediaTrack> subtitles;  // text and picture ones, in the container's order
};

// The language's name as a Chinese user reads it ("英语" for "eng" or "en"), the code itself
// when it is none we know, empty for none or "und".
std::u16string LanguageName(std::string_view code);
// What the menu calls a track: its language and title, or `fallback` ("音轨 2") without either.
std::u16string TrackLabel(const MediaTrack& track, std::u16string_view fallback);
// The same for the n-th sound track (from 0), "音轨 n+1" without language and title.
std::u16string AudioTrackLabel(const MediaTrack& track, int index);

#pragma once
// Subtitle files (SubRip, WebVTT, SSA/ASS) read through FFmpeg's own subtitle demuxers and
// decoders, once our encoding detection has turned the file into UTF-8.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "media_player/core/subtitle_track.h"

// Files larger than this are no subtitles (a film's are a few hundred kilobytes).
constexpr std::size_t kMaxSubtitleFileBytes = 8u << 20;

// The track a file's bytes hold, in whatever encoding; null when they hold none.
std::unique_ptr<SubtitleTrack> ParseSubtitleFile(std::string_view bytes);
// The same for a file of this computer, read with the size bound.
std::unique_ptr<SubtitleTrack> LoadSubtitleFile(const std::wstring& path);

// The track of a subtitle file on the web, fetched once with the size bound; null when the
// server has none (a 404 is the usual answer) or it holds no subtitles.
std::unique_ptr<SubtitleTrack> FetchSubtitleFile(const std::wstring& url);

// The subtitle files beside a video file, full paths, in the order the menu lists them.
std::vector<std::wstring> SubtitleFilesBeside(const std::wstring& video_path);

#pragma once
// The subtitle files that go with a video: beside a local file, those of the same base name
// with any language part between it and a subtitle extension (Film.srt, Film.chs.srt,
// Film.zh-CN.ass, Film.简体.srt); for a web item, the same address with each subtitle
// extension instead of its own.
#include <string>
#include <string_view>
#include <vector>

// Whether `name` (a file name, no folder) is a subtitle file that goes with the video named
// `video_name`. Latin letters compare without case, as the file system does.
bool IsSubtitleFileFor(std::u16string_view video_name, std::u16string_view name);

// Of the names in a folder, those that go with the video, sorted by name.
std::vector<std::u16string> SubtitleFilesFor(std::u16string_view video_name, const std::vector<std::u16string>& names);

// The part between the video's base name and the extension ("chs", "zh-CN"), or the
// extension itself when there is none: what the menu calls the file.
std::u16string SubtitleFileLabel(std::u16string_view video_name, std::u16string_view name);

// For an http(s) video address, the addresses its subtitles would have (query and fragment
// kept off), in the order they are tried; none for an address without a file name.
std::vector<std::string> SubtitleAddressesFor(std::string_view address);

// Whether the file name ends in a subtitle extension (.srt .vtt .ass .ssa).
bool HasSubtitleExtension(std::u16string_view name);

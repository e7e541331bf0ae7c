// A subtitle file of any bytes and encoding, then a script header and its events: the text
// comes out as valid UTF-8, what is drawn stays within its bounds, and the events showing at
// a moment are those whose time holds it.
#include <cstdint>
#include <string>

#include "common/text/utf.h"
#include "media_player/core/subtitle_encoding.h"
#include "media_player/core/subtitle_track.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = SubtitleTextToUtf8(bytes);
  FUZZ_CHECK(text.find('\0') == std::string::npos && text.find('\r') == std::string::npos);
  FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(text)) == text);

  const std::vector<std::string_view> parts =
      SplitInput(reinterpret_cast<const unsigned char*>(text.data()), text.size(), 2);
  SubtitleTrack track(ParseSubtitleHeader(parts[0]));
  std::int64_t at = 0;
  std::string_view events = parts[1];
  while (!events.empty()) {
    const auto end = events.find('\n');
    const std::string event(events.substr(0, end));
    events.remove_prefix(end == std::string_view::npos ? events.size() : end + 1);
    const SubtitleCue cue = ParseSubtitleEvent(event, track.script());
    FUZZ_CHECK(cue.lines.size() <= 16);
    FUZZ_CHECK(cue.line_height >= 0.03 && cue.line_height <= 0.12);
    const auto wrapped =
        WrapSubtitleLines(cue.lines, 200, [](const SubtitleRun& run) { return static_cast<int>(run.text.size()) * 7; });
    FUZZ_CHECK(wrapped.size() <= 4);
    track.Add(at, at + static_cast<std::int64_t>(event.size() % 5000), event);
    at += static_cast<std::int64_t>(event.size() % 3000) - 1000;
  }
  track.Finish();
  for (std::int64_t t = -2000; t < at + 6000; t += 977) {
    for (std::size_t index : track.ShowingAt(t)) {
      FUZZ_CHECK(index < track.size());
      FUZZ_CHECK(track.at(index).start_ms <= t && t < track.at(index).end_ms);
    }
  }
  return 0;
}

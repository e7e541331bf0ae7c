#pragma once
// The subtitles of the playing item: the files found beside it (read on a thread of their own,
// so that a slow share holds up nothing), the one chosen, its offset, what shows at the clock
// and its rendering, and the picture menu's subtitle part. Window thread only, apart from the
// loading.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media_player/core/subtitle_track.h"
#include "media_player/win32/subtitle_drawing_win32.h"

class SubtitleOverlay {
 public:
  SubtitleOverlay();
  ~SubtitleOverlay();

  // A new item: a local path (its subtitle files are looked for beside it) or none.
  void ItemChanged(const std::wstring& local_path);
  // Takes what the loading thread finished, and finds what shows at `media_ms`; true when
  // that changed and the picture should be drawn again.
  bool Update(std::int64_t media_ms);
  // The subtitle rendered for a picture drawn `width` x `height`: once per change.
  const RenderedSubtitle* RenderedFor(int width, int height);

  // The menu's subtitle part, appended to `menu`, and what a choice of it does (false for a
  // command that is not the subtitles').
  void AppendMenu(HMENU menu);
  bool Command(UINT id, HWND owner);
  bool Key(WPARAM key);  // Z and X move the offset, S goes to the next track

  static constexpr UINT kFirstCommand = 0x5100, kLastCommand = 0x51FF;
  std::int64_t offset_ms() const { return offset_ms_; }

 private:
  struct Loaded;
  void Choose(int index);
  void Load(const std::wstring& path, int index);
  void MoveOffset(std::int64_t by);
  void Showing(std::vector<std::size_t> showing);

  std::uint64_t item_ = 0;           // counts items, so that a late load of the last one is dropped
  std::vector<std::wstring> files_;  // the tracks the menu lists
  int chosen_ = -1;                  // of files_, -1 for none
  std::shared_ptr<Loaded> loaded_;   // shared with the loading thread
  std::shared_ptr<const SubtitleTrack> track_;
  std::int64_t offset_ms_ = 0;  // positive: the subtitle comes earlier
  std::vector<std::size_t> showing_;
  bool render_due_ = true;
  bool changed_ = false;  // since the last Update: the picture is drawn again
  RenderedSubtitle rendered_;
};

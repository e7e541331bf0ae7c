#pragma once
// The subtitles of the playing item: the files found beside it or fetched with its address
// (read on a thread of their own, so that a slow share or server holds up nothing), the text
// tracks inside it, the one chosen, its offset, what shows at the clock and its rendering, and
// the picture menu's subtitle part. Window thread only, apart from the loading.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "media_player/core/media_tracks.h"
#include "media_player/core/subtitle_track.h"
#include "media_player/win32/subtitle_drawing_win32.h"

class EmbeddedSubtitles;

class SubtitleOverlay {
 public:
  SubtitleOverlay();
  ~SubtitleOverlay();

  // A new item: a local path (its subtitle files are looked for beside it) or a web address
  // (the same address with the subtitle extensions is tried), and the subtitle chosen for it
  // before ("" for the usual first one, see ItemChoices) with its offset.
  void ItemChanged(const std::wstring& local_path, const std::wstring& web_address, const std::string& remembered,
                   std::int64_t offset_ms);
  // The item's subtitle streams as the demuxer lists them, and where their events go.
  void SetEmbedded(const std::vector<MediaTrack>& streams, std::shared_ptr<EmbeddedSubtitles> embedded);
  // Takes what the loading finished, and finds what shows at `media_ms`; true when that
  // changed and the picture should be drawn again.
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
  // What the user chose, as the item's remembered choices keep it ("" while it is the usual).
  const std::string& choice() const { return choice_; }
  // Whether the user changed the track or the offset since the last call.
  bool TakeChoiceChanged() { return std::exchange(choice_changed_, false); }

 private:
  struct Entry {
    enum class Kind { kFile, kWeb, kStream, kUnsupported };
    Kind kind = Kind::kFile;
    std::wstring path;  // a file's path or a web address
    int stream = -1;    // of the text tracks inside the item
    bool is_default = false;
    std::wstring label;
    std::string key;                               // as the remembered choices name it
    std::shared_ptr<const SubtitleTrack> fetched;  // a web file's, read when it was found
  };
  struct Loaded;
  void Found(std::vector<Entry> entries, bool files);
  void PickUsual();
  void Choose(const std::string& key, bool by_user);
  void Load(const std::wstring& path, const std::string& key);
  void MoveOffset(std::int64_t by);
  void Showing(std::vector<std::size_t> showing);
  const Entry* Find(const std::string& key) const;

  std::uint64_t item_ = 0;      // counts items, so that a late load of the last one is dropped
  std::vector<Entry> entries_;  // files first, then the streams inside
  std::string chosen_;          // the key of the entry shown, "" for none
  std::string choice_;          // what the user chose or the item remembered: "", "off" or a key
  bool choice_changed_ = false;
  std::vector<std::string> menu_keys_;  // the entries as the last menu listed them
  std::shared_ptr<Loaded> loaded_;      // shared with the loading thread
  std::shared_ptr<EmbeddedSubtitles> embedded_;
  std::shared_ptr<const SubtitleTrack> track_;
  std::int64_t offset_ms_ = 0;  // positive: the subtitle comes earlier
  std::vector<std::size_t> showing_;
  std::string shown_text_;  // as last written to the log
  bool render_due_ = true;
  bool changed_ = false;  // since the last Update: the picture is drawn again
  RenderedSubtitle rendered_;
};

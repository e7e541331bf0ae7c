#include "media_player/win32/subtitle_overlay_win32.h"

#include <commdlg.h>

#include <algorithm>
#include <utility>

#include "common/text/utf.h"
#include "common/win32/event_log.h"
#include "common/win32/wide.h"
#include "media_player/core/embedded_subtitles.h"
#include "media_player/core/subtitle_files.h"
#include "media_player/win32/detached_thread_win32.h"
#include "media_player/win32/subtitle_file_win32.h"

namespace {

constexpr UINT kLoadCommand = SubtitleOverlay::kLastCommand - 3;
constexpr UINT kOffCommand = SubtitleOverlay::kLastCommand - 2;
constexpr UINT kEarlierCommand = SubtitleOverlay::kLastCommand - 1;
constexpr UINT kLaterCommand = SubtitleOverlay::kLastCommand;
constexpr std::size_t kMaxListed = 200;
constexpr std::int64_t kOffsetStep = 500, kMaxOffset = 10 * 60 * 1000;

void Log(const std::string& line) { AppendEventLog(L"VEXO_PLAYER_LOG", line); }

std::wstring FileName(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Seconds(std::int64_t ms) {
  wchar_t text[32];
  swprintf(text, 32, L"%+.1f", static_cast<double>(ms) / 1000.0);
  return text;
}

}  // namespace

struct SubtitleOverlay::Loaded {
  std::mutex mutex;
  std::uint64_t item = 0;
  std::string wanted;  // the key of the file whose track is awaited
  bool files_ready = false;
  std::vector<Entry> files;
  bool track_ready = false;
  std::string track_key;
  std::shared_ptr<SubtitleTrack> track;
};

SubtitleOverlay::SubtitleOverlay() : loaded_(std::make_shared<Loaded>()) {}
SubtitleOverlay::~SubtitleOverlay() = default;

void SubtitleOverlay::ItemChanged(const std::wstring& local_path, const std::wstring& web_address,
                                  const std::string& remembered, std::int64_t offset_ms) {
  ++item_;
  entries_.clear();
  chosen_.clear();
  choice_ = remembered;
  choice_changed_ = false;
  track_.reset();
  embedded_.reset();
  offset_ms_ = std::clamp(offset_ms, -kMaxOffset, kMaxOffset);
  Showing({});
  {
    const std::lock_guard lock(loaded_->mutex);
    loaded_->item = item_;
    loaded_->wanted.clear();
    loaded_->files_ready = loaded_->track_ready = false;
    loaded_->track.reset();
  }
  if (local_path.empty() && web_address.empty()) return;
  RunDetached([loaded = loaded_, item = item_, local_path, web_address] {
    std::vector<Entry> files;
    for (const std::wstring& path : SubtitleFilesBeside(local_path)) {
      Entry entry;
      entry.path = path;
      entry.label = FileName(path);
      entry.key = "file:" + Utf16ToUtf8(FromWide(entry.label));
      files.push_back(std::move(entry));
    }
    // A web item's are fetched once, in the order of the extensions; most servers answer 404.
    if (!web_address.empty()) {
      for (const std::string& address : SubtitleAddressesFor(Utf16ToUtf8(FromWide(web_address)))) {
        {
          const std::lock_guard lock(loaded->mutex);
          if (loaded->item != item) return;
        }
        Entry entry;
        entry.kind = Entry::Kind::kWeb;
        entry.path = ToWide(Utf8ToUtf16(address));
        entry.fetched = FetchSubtitleFile(entry.path);
        if (!entry.fetched) continue;
        entry.label = FileName(entry.path);
        entry.key = "file:" + Utf16ToUtf8(FromWide(entry.label));
        files.push_back(std::move(entry));
      }
    }
    const std::lock_guard lock(loaded->mutex);
    if (loaded->item != item) return;
    loaded->files = std::move(files);
    loaded->files_ready = true;
  });
}

void SubtitleOverlay::SetEmbedded(const std::vector<MediaTrack>& streams, std::shared_ptr<EmbeddedSubtitles> embedded) {
  embedded_ = std::move(embedded);
  std::vector<Entry> found;
  int text = 0, pictures = 0;
  for (const MediaTrack& stream : streams) {
    Entry entry;
    entry.is_default = stream.is_default;
    if (stream.kind == MediaTrack::Kind::kTextSubtitle) {
      entry.kind = Entry::Kind::kStream;
      entry.stream = text++;
      entry.key = "stream:" + std::to_string(entry.stream);
      entry.label = ToWide(TrackLabel(stream, u"内嵌字幕 " + Utf8ToUtf16(std::to_string(text))));
    } else {
      // Pictures of text (PGS, VobSub, DVB) are not drawn: listed, so the user sees why.
      ++pictures;
      entry.kind = Entry::Kind::kUnsupported;
      const std::u16string language = TrackLabel(stream, u"");
      entry.label = ToWide(u"不支持的字幕" + (language.empty() ? std::u16string() : u" (" + language + u")"));
    }
    found.push_back(std::move(entry));
  }
  Log("Subtitle streams " + std::to_string(text) + " unsupported " + std::to_string(pictures));
  Found(std::move(found), false);
}

void SubtitleOverlay::Found(std::vector<Entry> entries, bool files) {
  const auto inside = [](const Entry& e) {
    return e.kind == Entry::Kind::kStream || e.kind == Entry::Kind::kUnsupported;
  };
  std::erase_if(entries_, [&](const Entry& e) { return inside(e) != files; });
  if (files) {
    if (entries.size() > kMaxListed) entries.resize(kMaxListed);
    Log("Subtitles found " + std::to_string(entries.size()));
    entries_.insert(entries_.begin(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
  } else {
    entries_.insert(entries_.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
  }
  PickUsual();
}

const SubtitleOverlay::Entry* SubtitleOverlay::Find(const std::string& key) const {
  if (key.empty()) return nullptr;
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
  return found == entries_.end() ? nullptr : &*found;
}

// What shows without the user choosing now: what was chosen for the item before while it is
// there, else the first file that goes with it, else the stream the file marks as default.
void SubtitleOverlay::PickUsual() {
  if (choice_ == "off") return;
  std::string usual;
  if (Find(choice_)) {
    usual = choice_;
  } else {
    for (const Entry& entry : entries_) {
      if (entry.kind == Entry::Kind::kFile || entry.kind == Entry::Kind::kWeb) {
        usual = entry.key;
        break;
      }
    }
    for (const Entry& entry : entries_) {
      if (usual.empty() && entry.kind == Entry::Kind::kStream && entry.is_default) usual = entry.key;
    }
  }
  if (!usual.empty() && usual != chosen_) Choose(usual, false);
}

void SubtitleOverlay::Load(const std::wstring& path, const std::string& key) {
  {
    const std::lock_guard lock(loaded_->mutex);
    loaded_->wanted = key;
    loaded_->track_ready = false;
  }
  RunDetached([loaded = loaded_, item = item_, path, key] {
    std::shared_ptr<SubtitleTrack> track = LoadSubtitleFile(path);
    const std::lock_guard lock(loaded->mutex);
    if (loaded->item != item || loaded->wanted != key) return;
    loaded->track = std::move(track);
    loaded->track_key = key;
    loaded->track_ready = true;
  });
}

void SubtitleOverlay::Choose(const std::string& key, bool by_user) {
  const Entry* entry = Find(key);
  if (entry && entry->kind == Entry::Kind::kUnsupported) entry = nullptr;
  chosen_ = entry ? key : std::string();
  if (by_user) {
    choice_ = entry ? key : std::string("off");
    choice_changed_ = true;
  }
  Showing({});
  track_.reset();
  {
    const std::lock_guard lock(loaded_->mutex);
    loaded_->wanted.clear();
  }
  if (!entry) {
    Log("Subtitle track none");
    return;
  }
  Log("Subtitle track " + Utf16ToUtf8(FromWide(entry->label)));
  switch (entry->kind) {
    case Entry::Kind::kFile: Load(entry->path, key); break;
    case Entry::Kind::kWeb: track_ = entry->fetched; break;
    case Entry::Kind::kStream: track_ = embedded_ ? embedded_->Track(entry->stream) : nullptr; break;
    case Entry::Kind::kUnsupported: break;
  }
}

bool SubtitleOverlay::Update(std::int64_t media_ms) {
  std::vector<Entry> files;
  bool files_ready = false;
  {
    const std::lock_guard lock(loaded_->mutex);
    if (loaded_->item == item_ && loaded_->files_ready) {
      loaded_->files_ready = false;
      files = std::move(loaded_->files);
      files_ready = true;
    }
    if (loaded_->item == item_ && loaded_->track_ready && loaded_->track_key == chosen_ && loaded_->wanted == chosen_) {
      loaded_->track_ready = false;
      track_ = std::move(loaded_->track);
      showing_.clear();  // what shows is of the new track, even at the same indexes
      Log(track_ ? "Subtitle events " + std::to_string(track_->size()) : std::string("Subtitle unreadable"));
    }
  }
  if (files_ready) Found(std::move(files), true);
  // A stream's track grows as the demuxer reads on: the latest one is taken.
  if (const Entry* entry = Find(chosen_); entry && entry->kind == Entry::Kind::kStream && embedded_) {
    if (auto latest = embedded_->Track(entry->stream); latest != track_) {
      track_ = std::move(latest);
      showing_.clear();
    }
  }
  std::vector<std::size_t> showing;
  if (track_) showing = track_->ShowingAt(media_ms + offset_ms_);
  if (showing != showing_) Showing(std::move(showing));
  return std::exchange(changed_, false);
}

void SubtitleOverlay::Showing(std::vector<std::size_t> showing) {
  showing_ = std::move(showing);
  render_due_ = changed_ = true;
  std::string text;
  if (!showing_.empty()) {
    for (const SubtitleLine& line : track_->at(showing_.front()).cue.lines) {
      if (!text.empty()) text += " / ";
      for (const SubtitleRun& run : line) text += Utf16ToUtf8(run.text);
    }
  }
  // A track that grew shows the same text again: it is no new subtitle.
  if (text == shown_text_) return;
  shown_text_ = text;
  Log(text.empty() ? std::string("Subtitle none") : "Subtitle " + text);
}

const RenderedSubtitle* SubtitleOverlay::RenderedFor(int width, int height) {
  if (showing_.empty() || !track_) return nullptr;
  if (render_due_ || rendered_.picture_width != width || rendered_.picture_height != height) {
    std::vector<const SubtitleCue*> cues;
    for (std::size_t index : showing_) cues.push_back(&track_->at(index).cue);
    rendered_ = RenderSubtitle(cues, width, height);
    render_due_ = false;
  }
  return &rendered_;
}

void SubtitleOverlay::AppendMenu(HMENU menu) {
  HMENU part = CreatePopupMenu();
  menu_keys_.clear();
  for (const Entry& entry : entries_) {
    if (entry.kind == Entry::Kind::kUnsupported) {
      ::AppendMenuW(part, MF_STRING | MF_GRAYED, 0, entry.label.c_str());
    } else if (kFirstCommand + menu_keys_.size() < kLoadCommand) {
      ::AppendMenuW(part, MF_STRING | (entry.key == chosen_ ? MF_CHECKED : 0),
                    kFirstCommand + static_cast<UINT>(menu_keys_.size()), entry.label.c_str());
      menu_keys_.push_back(entry.key);
    }
  }
  if (!entries_.empty()) ::AppendMenuW(part, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(part, MF_STRING, kLoadCommand, L"加载字幕文件(&L)...");
  ::AppendMenuW(part, MF_STRING | (chosen_.empty() ? MF_CHECKED : 0), kOffCommand, L"关闭字幕(&C)");
  ::AppendMenuW(part, MF_SEPARATOR, 0, nullptr);
  const UINT timing = chosen_.empty() ? MF_GRAYED : 0;
  ::AppendMenuW(part, MF_STRING | timing, kEarlierCommand, L"字幕提前 0.5 秒(&Z)\tZ");
  ::AppendMenuW(part, MF_STRING | timing, kLaterCommand, L"字幕延后 0.5 秒(&X)\tX");
  ::AppendMenuW(part, MF_STRING | MF_GRAYED, 0, (L"当前偏移 " + Seconds(offset_ms_) + L" 秒").c_str());
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(part), L"字幕(&S)");
}

bool SubtitleOverlay::Command(UINT id, HWND owner) {
  if (id < kFirstCommand || id > kLastCommand) return false;
  if (id == kLoadCommand) {
    wchar_t path[MAX_PATH * 2] = L"";
    OPENFILENAMEW dialog{sizeof dialog};
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"字幕文件 (*.srt;*.ass;*.ssa;*.vtt)\0*.srt;*.ass;*.ssa;*.vtt\0所有文件 (*.*)\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = static_cast<DWORD>(std::size(path));
    dialog.lpstrTitle = L"加载字幕文件";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return true;
    Entry entry;
    entry.path = path;
    entry.label = FileName(entry.path);
    entry.key = "file:" + Utf16ToUtf8(FromWide(entry.label));
    const std::string key = entry.key;
    // A file of the same name listed already is replaced by the one the user picked.
    std::erase_if(entries_, [&](const Entry& e) { return e.key == key; });
    const auto files_end = std::find_if(entries_.begin(), entries_.end(), [](const Entry& e) {
      return e.kind == Entry::Kind::kStream || e.kind == Entry::Kind::kUnsupported;
    });
    entries_.insert(files_end, std::move(entry));
    Choose(key, true);
  } else if (id == kOffCommand) {
    Choose({}, true);
  } else if (id == kEarlierCommand) {
    MoveOffset(kOffsetStep);
  } else if (id == kLaterCommand) {
    MoveOffset(-kOffsetStep);
  } else if (const std::size_t index = id - kFirstCommand; index < menu_keys_.size()) {
    // The entry the menu showed, even when the list changed while it was open.
    Choose(menu_keys_[index], true);
  }
  return true;
}

bool SubtitleOverlay::Key(WPARAM key) {
  switch (key) {
    case 'Z': MoveOffset(kOffsetStep); return true;
    case 'X': MoveOffset(-kOffsetStep); return true;
    case 'S': {
      // The next track that can show, and after the last none.
      std::vector<std::string> keys;
      for (const Entry& entry : entries_) {
        if (entry.kind != Entry::Kind::kUnsupported) keys.push_back(entry.key);
      }
      const auto at = std::find(keys.begin(), keys.end(), chosen_);
      Choose(at == keys.end() ? (keys.empty() ? std::string() : keys.front())
                              : (at + 1 == keys.end() ? std::string() : *(at + 1)),
             true);
      return true;
    }
  }
  return false;
}

void SubtitleOverlay::MoveOffset(std::int64_t by) {
  offset_ms_ = std::clamp(offset_ms_ + by, -kMaxOffset, kMaxOffset);
  choice_changed_ = true;
  Log("Subtitle offset " + std::to_string(offset_ms_));
}

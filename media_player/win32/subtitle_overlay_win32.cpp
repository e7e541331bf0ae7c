#include "media_player/win32/subtitle_overlay_win32.h"

#include <commdlg.h>

#include <algorithm>
#include <utility>

#include "common/text/utf.h"
#include "common/win32/event_log.h"
#include "common/win32/wide.h"
#include "media_player/win32/detached_thread_win32.h"
#include "media_player/win32/subtitle_file_win32.h"

namespace {

constexpr UINT kLoadCommand = SubtitleOverlay::kLastCommand - 3;
constexpr UINT kOffCommand = SubtitleOverlay::kLastCommand - 2;
constexpr UINT kEarlierCommand = SubtitleOverlay::kLastCommand - 1;
constexpr UINT kLaterCommand = SubtitleOverlay::kLastCommand;
constexpr int kMaxListed = 200;
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
  int wanted = -1;  // the file whose track is awaited
  bool files_ready = false;
  std::vector<std::wstring> files;
  bool track_ready = false;
  int track_index = -1;
  std::shared_ptr<SubtitleTrack> track;
};

SubtitleOverlay::SubtitleOverlay() : loaded_(std::make_shared<Loaded>()) {}
SubtitleOverlay::~SubtitleOverlay() = default;

void SubtitleOverlay::ItemChanged(const std::wstring& local_path) {
  ++item_;
  files_.clear();
  chosen_ = -1;
  track_.reset();
  offset_ms_ = 0;
  Showing({});
  {
    const std::lock_guard lock(loaded_->mutex);
    loaded_->item = item_;
    loaded_->wanted = 0;  // the first one found shows when the item starts
    loaded_->files_ready = loaded_->track_ready = false;
    loaded_->track.reset();
  }
  if (local_path.empty()) return;
  RunDetached([loaded = loaded_, item = item_, local_path] {
    std::vector<std::wstring> files = SubtitleFilesBeside(local_path);
    std::shared_ptr<SubtitleTrack> track;
    if (!files.empty()) track = LoadSubtitleFile(files.front());
    const std::lock_guard lock(loaded->mutex);
    if (loaded->item != item) return;
    loaded->files = std::move(files);
    loaded->files_ready = true;
    loaded->track = std::move(track);
    loaded->track_index = 0;
    loaded->track_ready = true;
  });
}

void SubtitleOverlay::Load(const std::wstring& path, int index) {
  {
    const std::lock_guard lock(loaded_->mutex);
    loaded_->wanted = index;
    loaded_->track_ready = false;
  }
  RunDetached([loaded = loaded_, item = item_, path, index] {
    std::shared_ptr<SubtitleTrack> track = LoadSubtitleFile(path);
    const std::lock_guard lock(loaded->mutex);
    if (loaded->item != item || loaded->wanted != index) return;
    loaded->track = std::move(track);
    loaded->track_index = index;
    loaded->track_ready = true;
  });
}

void SubtitleOverlay::Choose(int index) {
  chosen_ = index >= 0 && index < static_cast<int>(files_.size()) ? index : -1;
  Showing({});
  track_.reset();
  if (chosen_ >= 0) {
    Load(files_[chosen_], chosen_);
    Log("Subtitle track " + Utf16ToUtf8(FromWide(FileName(files_[chosen_]))));
  } else {
    const std::lock_guard lock(loaded_->mutex);
    loaded_->wanted = -1;
    Log("Subtitle track none");
  }
}

bool SubtitleOverlay::Update(std::int64_t media_ms) {
  {
    const std::lock_guard lock(loaded_->mutex);
    if (loaded_->item == item_ && loaded_->files_ready) {
      loaded_->files_ready = false;
      files_ = std::move(loaded_->files);
      if (files_.size() > kMaxListed) files_.resize(kMaxListed);
      if (!files_.empty() && loaded_->wanted == 0) chosen_ = 0;
      Log("Subtitles found " + std::to_string(files_.size()));
    }
    if (loaded_->item == item_ && loaded_->track_ready && loaded_->track_index == chosen_ &&
        loaded_->wanted == chosen_) {
      loaded_->track_ready = false;
      track_ = std::move(loaded_->track);
      showing_.clear();  // what shows is of the new track, even at the same indexes
      Log(track_ ? "Subtitle events " + std::to_string(track_->size()) : std::string("Subtitle unreadable"));
    }
  }
  std::vector<std::size_t> showing;
  if (track_) showing = track_->ShowingAt(media_ms + offset_ms_);
  if (showing != showing_) Showing(std::move(showing));
  return std::exchange(changed_, false);
}

void SubtitleOverlay::Showing(std::vector<std::size_t> showing) {
  const bool was_empty = showing_.empty();
  showing_ = std::move(showing);
  render_due_ = changed_ = true;
  if (showing_.empty()) {
    if (!was_empty) Log("Subtitle none");
    return;
  }
  std::string text;
  for (const SubtitleLine& line : track_->at(showing_.front()).cue.lines) {
    if (!text.empty()) text += " / ";
    for (const SubtitleRun& run : line) text += Utf16ToUtf8(run.text);
  }
  Log("Subtitle " + text);
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
  for (int i = 0; i < static_cast<int>(files_.size()); ++i) {
    ::AppendMenuW(part, MF_STRING | (i == chosen_ ? MF_CHECKED : 0), kFirstCommand + i, FileName(files_[i]).c_str());
  }
  if (!files_.empty()) ::AppendMenuW(part, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(part, MF_STRING, kLoadCommand, L"加载字幕文件(&L)...");
  ::AppendMenuW(part, MF_STRING | (chosen_ < 0 ? MF_CHECKED : 0), kOffCommand, L"关闭字幕(&C)");
  ::AppendMenuW(part, MF_SEPARATOR, 0, nullptr);
  const UINT timing = track_ ? 0 : MF_GRAYED;
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
    const auto known = std::find(files_.begin(), files_.end(), std::wstring(path));
    if (known == files_.end() && files_.size() < kMaxListed) files_.push_back(path);
    const auto at = std::find(files_.begin(), files_.end(), std::wstring(path));
    Choose(at == files_.end() ? -1 : static_cast<int>(at - files_.begin()));
  } else if (id == kOffCommand) {
    Choose(-1);
  } else if (id == kEarlierCommand) {
    MoveOffset(kOffsetStep);
  } else if (id == kLaterCommand) {
    MoveOffset(-kOffsetStep);
  } else {
    Choose(static_cast<int>(id - kFirstCommand));
  }
  return true;
}

bool SubtitleOverlay::Key(WPARAM key) {
  switch (key) {
    case 'Z': MoveOffset(kOffsetStep); return true;
    case 'X': MoveOffset(-kOffsetStep); return true;
    case 'S': Choose(chosen_ + 1 < static_cast<int>(files_.size()) ? chosen_ + 1 : -1); return true;
  }
  return false;
}

void SubtitleOverlay::MoveOffset(std::int64_t by) {
  offset_ms_ = std::clamp(offset_ms_ + by, -kMaxOffset, kMaxOffset);
  Log("Subtitle offset " + std::to_string(offset_ms_));
}

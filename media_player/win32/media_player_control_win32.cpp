#include "media_player/win32/media_player_control_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "common/text/utf.h"
#include "common/win32/event_log.h"
#include "common/win32/gdi_scope.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"
#include "media_player/core/download_meter.h"
#include "media_player/core/embedded_subtitles.h"
#include "media_player/core/picture.h"
#include "media_player/media_player_class.h"
#include "media_player/win32/choices_file_win32.h"
#include "media_player/win32/media_cache_win32.h"
#include "media_player/win32/media_input_win32.h"
#include "media_player/win32/picture_drawing_win32.h"
#include "media_player/win32/track_menu_win32.h"
#include "play/ports/player_control.h"

namespace {

PlaybackSession::Ms Now() { return static_cast<PlaybackSession::Ms>(GetTickCount64()); }

// What the control does is written to the file VEXO_PLAYER_LOG names, one line each, so tests
// and a user's report can follow it.
void Log(const std::wstring& line) { AppendEventLog(L"VEXO_PLAYER_LOG", Utf16ToUtf8(FromWide(line))); }

std::atomic<long> g_controls{0};

bool IsWebAddress(const std::wstring& url) {
  return _wcsnicmp(url.c_str(), L"http://", 7) == 0 || _wcsnicmp(url.c_str(), L"https://", 8) == 0;
}

// A media address as the reader takes it: a file address becomes its path, a path stays as
// it is; any other scheme ("mms:", "rtsp:", a handler's) is none the control plays (the
// program lets only what the user chose be a path: what comes from the web is on the web).
std::wstring ReaderPath(const std::wstring& url) {
  if (url.size() > 8 && _wcsnicmp(url.c_str(), L"file:///", 8) == 0) {
    std::wstring path = url.substr(8);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
  }
  const auto colon = url.find(L':');
  if (colon != std::wstring::npos && colon >= 2 &&
      std::all_of(url.begin(), url.begin() + static_cast<std::ptrdiff_t>(colon),
                  [](wchar_t c) { return iswalnum(c) || c == L'+' || c == L'-' || c == L'.'; })) {
    return {};
  }
  return url;
}

}  // namespace

MediaPlayerControl::MediaPlayerControl()
    : InPlaceControl(kMediaPlayerClass, player::kMemberNames, std::size(player::kMemberNames)),
      embedded_(std::make_shared<EmbeddedSubtitles>()),
      decoder_(std::make_unique<MediaDecoder>(*this, audio_)) {
  ++g_controls;
  audio_.SetVolume(volume_, muted_);
}

MediaPlayerControl::~MediaPlayerControl() {
  adjust_dialog_.reset();
  CancelOpen();
  decoder_.reset();
  DestroyView();
  download_.reset();
  next_download_.reset();
  // The fetched items go with the last control, as the program exits.
  if (--g_controls == 0) ClearMediaCache();
}

void MediaPlayerControl::CancelOpen() {
  open_cancel_->store(true);
  if (download_) download_->Wake();
  open_cancel_ = std::make_shared<std::atomic<bool>>(false);
}

std::shared_ptr<MediaDownload> MediaPlayerControl::DownloadFor(const std::wstring& url) {
  if (download_ && download_->url() == url) return download_;
  if (next_download_ && next_download_->url() == url) return std::move(next_download_);
  TrimMediaCache(MediaDownload::LiveFiles(), CacheBounds{FetchBoundsOfEnvironment().cache_bytes});
  return MediaDownload::Create(url, MediaCacheFileFor(FromWide(url)));
}

void MediaPlayerControl::Send(const DecoderRequest& request) {
  if (request.kind == DecoderRequest::Kind::kNone) return;
  MediaSource source;
  if (request.kind != DecoderRequest::Kind::kSeek) {
    CancelOpen();
    item_generation_ = request.generation;
  }
  if (request.kind == DecoderRequest::Kind::kOpen) {
    starved_ = false;
    source.subtitles = embedded_;
    if (IsWebAddress(media_url_)) {
      download_ = DownloadFor(media_url_);
      // The playing item may grow past the cache's bound; one fetched ahead that paused there
      // goes on now.
      download_->SetPlaying(true);
      download_->Start();
      source.open_input = [download = download_, cancelled = open_cancel_] {
        return OpenDownloadInput(download, cancelled);
      };
    } else {
      source.open_input = [path = ReaderPath(media_url_), cancelled = open_cancel_]() -> std::unique_ptr<MediaInput> {
        return path.empty() ? nullptr : OpenFileInput(path, cancelled);
      };
    }
  }
  decoder_->Request(request, std::move(source));
}

HRESULT MediaPlayerControl::InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  std::wstring text;
  long number = 0;
  std::unique_lock lock(mutex_);
  const auto now = Now();
  switch (id) {
    case player::kMediaUrl:
      if (!put) {
        SetResultString(result, media_url_);
        break;
      }
      if (!DispatchArgString(params, 0, text)) return DISP_E_TYPEMISMATCH;
      media_url_ = text;
      ItemChanged();
      item_bytes_ = -1;
      stopped_share_ = 0;
      Send(session_.Load(now));
      if (download_ && download_->url() != media_url_) download_.reset();
      // The last item's picture goes from the screen too, not only from memory.
      shown_.reset();
      if (screen_) InvalidateRect(screen_->hwnd(), nullptr, FALSE);
      Log(L"MediaUrl " + text);
      break;
    case player::kMute:
      if (!put || !DispatchArgLong(params, 0, number)) return DISP_E_MEMBERNOTFOUND;
      muted_ = number != 0;
      audio_.SetVolume(volume_, muted_);
      Log(muted_ ? L"Mute on" : L"Mute off");
      break;
    case player::kFullScreen:
      if (!put) return DISP_E_MEMBERNOTFOUND;
      Log(L"FullScreen");
      // The window's new size comes back to the control (Resized), which takes the lock.
      lock.unlock();
      if (DispatchArgLong(params, 0, number) && number != 0 && screen_) screen_->EnterFullScreen();
      break;
    case player::kVolume:
      if (!put) {
        SetResultLong(result, volume_);
        break;
      }
      if (!DispatchArgLong(params, 0, number)) return DISP_E_TYPEMISMATCH;
      volume_ = std::clamp(number, 0L, 100L);
      audio_.SetVolume(volume_, muted_);
      break;
    case player::kDuration: SetResultLong(result, session_.Duration()); break;
    case player::kDownloadRate: SetResultLong(result, download_ ? download_->RateKilobytesPerSecond() : 0); break;
    case player::kPosition:
      if (!put) {
        SetResultLong(result, session_.Position(now));
        break;
      }
      if (!DispatchArgLong(params, 0, number)) return DISP_E_TYPEMISMATCH;
      Send(session_.Seek(static_cast<PlaybackSession::Ms>(number) * 1000, now));
      Log(L"Position " + std::to_wstring(number));
      break;
    case player::kPlay:
      if (media_url_.empty()) break;
      Send(session_.Play(now));
      Log(L"Play " + media_url_);
      break;
    case player::kPause:
      session_.Pause(now);
      Log(L"Pause");
      break;
    case player::kStop:
      Send(session_.Stop(now));
      // A stopped item's fetch ends; what it fetched stays, and a later Play goes on from it.
      if (download_) stopped_share_ = download_->PerMille();
      download_.reset();
      Log(L"Stop");
      break;
    case player::kPlayState: SetResultLong(result, session_.State(now)); break;
    case player::kMediaRate:
      SetResultLong(result,
                    session_.State(now) == player::kPlaying
                        ? MediaKilobitsPerSecond(item_bytes_, static_cast<std::int64_t>(session_.Duration()) * 1000)
                        : 0);
      break;
    case player::kShowVideoAdjust:
      DispatchArgLong(params, 0, number);
      Log(L"ShowVideoAdjust " + std::to_wstring(number));
      lock.unlock();  // the dialog calls back into the control
      ShowAdjustDialog();
      break;
    case player::kDownloadProgress: SetResultLong(result, DownloadProgress()); break;
    case player::kPrebuffer:
      if (!DispatchArgString(params, 0, text)) return DISP_E_TYPEMISMATCH;
      // Only what comes from the web is worth fetching ahead; the current item already is.
      if (IsWebAddress(text) && text != media_url_ && !(next_download_ && next_download_->url() == text)) {
        next_download_.reset();
        next_download_ = DownloadFor(text);
        next_download_->Start();
      }
      Log(L"Prebuffer " + text);
      break;
    case player::kAdUrl:
      // The control shows no advertisement; the address is taken and left alone.
      if (!put || !DispatchArgString(params, 0, text)) return DISP_E_MEMBERNOTFOUND;
      break;
    default: return DISP_E_MEMBERNOTFOUND;
  }
  return S_OK;
}

// A new item plays with what the user chose for it before: its sound track, its subtitles
// and their offset.
void MediaPlayerControl::ItemChanged() {
  const ItemChoices remembered = LoadItemChoices(media_url_);
  audio_choice_ = remembered.audio;
  decoder_->SetAudioTrack(remembered.audio);
  tracks_ = MediaTracks{};
  audio_track_ = -1;
  tracks_changed_ = false;
  embedded_ = std::make_shared<EmbeddedSubtitles>();
  const bool web = IsWebAddress(media_url_);
  subtitles_.ItemChanged(web ? std::wstring() : ReaderPath(media_url_), web ? media_url_ : std::wstring(),
                         remembered.subtitle, remembered.offset_ms);
}

void MediaPlayerControl::Remember() {
  SaveItemChoices(media_url_, ItemChoices{subtitles_.choice(), subtitles_.offset_ms(), audio_choice_});
}

// A new sound track or speed takes effect as a seek to where the item is, playing or paused.
void MediaPlayerControl::GoOnFromHere() {
  const auto now = Now();
  const int state = session_.State(now);
  if (state == player::kPlaying || state == player::kPaused) Send(session_.Seek(session_.PositionMs(now), now));
}

void MediaPlayerControl::ChooseAudio(int track) {
  {
    const std::lock_guard lock(mutex_);
    if (track < 0 || track >= static_cast<int>(tracks_.audio.size()) || track == audio_track_) return;
    audio_choice_ = track;
    decoder_->SetAudioTrack(track);
    GoOnFromHere();
    Log(L"Audio track " + ToWide(AudioTrackLabel(tracks_.audio[track], track)));
  }
  Remember();
}

void MediaPlayerControl::ChooseSpeed(int per_mille) {
  const std::lock_guard lock(mutex_);
  if (per_mille <= 0 || per_mille == speed_) return;
  speed_ = per_mille;
  decoder_->SetSpeed(per_mille);
  const auto now = Now();
  session_.clock().SetSpeed(per_mille, now);
  // The sound queued at the old speed goes.
  GoOnFromHere();
  Log(L"Speed " + std::to_wstring(per_mille));
}

void MediaPlayerControl::PictureKey(WPARAM key) {
  if (subtitles_.Key(key)) {
    if (subtitles_.TakeChoiceChanged()) Remember();
    return;
  }
  int audio_count = 0, audio = 0, speed = 0;
  {
    const std::lock_guard lock(mutex_);
    audio_count = static_cast<int>(tracks_.audio.size());
    audio = audio_track_;
    speed = speed_;
  }
  if (key == 'A' && audio_count > 1) ChooseAudio((audio + 1) % audio_count);
  if (key == VK_OEM_4) ChooseSpeed(NextSpeed(speed, -1));  // [
  if (key == VK_OEM_6) ChooseSpeed(NextSpeed(speed, 1));   // ]
}

void MediaPlayerControl::ShowAdjustDialog() {
  if (!adjust_dialog_ || !adjust_dialog_->hwnd()) {
    const HWND owner = View() ? GetAncestor(View(), GA_ROOT) : nullptr;
    adjust_dialog_ = std::make_unique<VideoAdjustDialog>(owner, decoder_->adjust(),
                                                         [this](const PictureAdjust& adjust) { ApplyAdjust(adjust); });
  }
  adjust_dialog_->Present();
}

void MediaPlayerControl::ApplyAdjust(const PictureAdjust& adjust) {
  decoder_->SetAdjust(adjust);
  const std::lock_guard lock(mutex_);
  const auto now = Now();
  if (session_.State(now) == player::kPaused) Send(session_.Seek(session_.PositionMs(now), now));
  Log(L"Adjust " + std::to_wstring(adjust.brightness) + L" " + std::to_wstring(adjust.contrast) + L" " +
      std::to_wstring(adjust.saturation));
}

void MediaPlayerControl::Resized(int width, int height) {
  decoder_->SetWindowSize(width, height);
  // A paused picture is decoded again at its new size.
  const std::lock_guard lock(mutex_);
  const auto now = Now();
  if (session_.State(now) == player::kPaused) Send(session_.Seek(session_.PositionMs(now), now));
  if (screen_) InvalidateRect(screen_->hwnd(), nullptr, FALSE);
}

long MediaPlayerControl::DownloadProgress() {
  if (download_) return download_->PerMille();
  if (IsWebAddress(media_url_)) return stopped_share_;
  // A file on this machine is all there once it is open.
  return item_bytes_ >= 0 ? 1000 : 0;
}

void MediaPlayerControl::DecoderOpened(std::uint64_t generation, std::int64_t duration_ms, std::int64_t bytes) {
  const std::lock_guard lock(mutex_);
  item_bytes_ = bytes >= 0 ? bytes : download_ ? download_->size() : -1;
  session_.Opened(generation, duration_ms, Now());
  Log(L"Opened " + std::to_wstring(duration_ms) + L" ms");
}

void MediaPlayerControl::DecoderFirstPicture(std::uint64_t generation) {
  const std::lock_guard lock(mutex_);
  session_.FrameReady(generation, Now());
}

void MediaPlayerControl::DecoderEnded(std::uint64_t generation, std::int64_t end_ms) {
  const std::lock_guard lock(mutex_);
  session_.Ended(generation, end_ms, Now());
  Log(L"Ended " + std::to_wstring(end_ms) + L" ms");
}

void MediaPlayerControl::DecoderFailed(std::uint64_t generation) {
  const std::lock_guard lock(mutex_);
  session_.Failed(generation, Now());
  Log(L"Failed " + media_url_);
}

void MediaPlayerControl::DecoderTracks(std::uint64_t generation, const MediaTracks& tracks, int audio_track) {
  const std::lock_guard lock(mutex_);
  if (generation < item_generation_) return;  // of an item left behind
  tracks_ = tracks;
  audio_track_ = audio_track;
  tracks_changed_ = true;
  Log(L"Audio tracks " + std::to_wstring(tracks.audio.size()) + L" playing " + std::to_wstring(audio_track + 1));
}

void MediaPlayerControl::Tick() {
  std::int64_t media = 0;
  std::uint64_t generation = 0;
  bool running = false;
  std::optional<std::vector<MediaTrack>> subtitle_streams;
  {
    const std::lock_guard lock(mutex_);
    if (std::exchange(tracks_changed_, false)) subtitle_streams = tracks_.subtitles;
    const auto now = Now();
    const std::int64_t playing = audio_.PlayingMs();
    if (playing >= 0) session_.clock().AudioReport(playing, now);
    media = session_.clock().Media(now);
    generation = session_.generation();
    running = session_.ClockRunning() && session_.State(now) == player::kPlaying;
  }
  if (subtitle_streams) subtitles_.SetEmbedded(*subtitle_streams, embedded_);
  running ? audio_.Resume() : audio_.Pause();
  if (running && audio_.is_open() && Now() - sound_logged_at_ >= 500) {
    sound_logged_at_ = Now();
    Log(L"Sound " + std::to_wstring(audio_.last_peak()));
    Log(L"Tone " + std::to_wstring(audio_.last_tone()));
  }
  if (const long dropped = decoder_->dropped_pictures();
      dropped != dropped_logged_ && Now() - dropped_logged_at_ >= 500) {
    dropped_logged_ = dropped;
    dropped_logged_at_ = Now();
    Log(L"Dropped " + std::to_wstring(dropped));
  }
  decoder_->SetClock(media);
  const bool show_first = !shown_ || shown_->generation != generation;
  if (auto frame = decoder_->TakeFrameDue(media, generation, show_first)) {
    if (show_first) {
      Log(L"Picture " + std::to_wstring(frame->width) + L"x" + std::to_wstring(frame->height) + L" shown as " +
          std::to_wstring(frame->shape_width) + L"x" + std::to_wstring(frame->shape_height) + L" at " +
          std::to_wstring(frame->start_ms) + L" ms");
    }
    decoder_->Recycle(std::exchange(shown_, std::move(frame)));
    if (screen_) InvalidateRect(screen_->hwnd(), nullptr, FALSE);
  }
  if (subtitles_.Update(media) && screen_) InvalidateRect(screen_->hwnd(), nullptr, FALSE);
  WatchForStarving(generation, media);
}

// A download slower than the item: when the pictures run out before the end the control
// buffers, and plays on once a few are there again.
void MediaPlayerControl::WatchForStarving(std::uint64_t generation, std::int64_t media) {
  if (!download_ || !decoder_->has_video()) return;
  const std::lock_guard lock(mutex_);
  const auto now = Now();
  if (generation != session_.generation()) return;
  const int state = session_.State(now);
  const bool drained = decoder_->video_drained();
  if (state == player::kPlaying && !drained && decoder_->queued_frames() == 0 && shown_ &&
      media > shown_->start_ms + 250) {
    session_.Starved(generation, now);
    starved_ = true;
    Log(L"Starved");
  } else if (state == player::kBuffering && starved_ && (drained || decoder_->queued_frames() >= 3)) {
    starved_ = false;
    session_.FrameReady(generation, now);
  }
}

void MediaPlayerControl::Paint(HDC dc) {
  RECT client{};
  GetClientRect(screen_->hwnd(), &client);
  const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (!shown_ || shown_->pixels.empty()) {
    FillRect(dc, &client, black);
    return;
  }
  // The picture's shape on the screen: its pixels' own aspect, turned as it was recorded.
  const PictureRect place =
      FitPicture(shown_->shape_width > 0 ? shown_->shape_width : shown_->width,
                 shown_->shape_height > 0 ? shown_->shape_height : shown_->height, client.right, client.bottom);
  // The bars and the picture never overlap, so nothing is drawn twice and nothing flickers.
  const RECT bars[] = {{0, 0, client.right, place.top},
                       {0, place.top + place.height, client.right, client.bottom},
                       {0, place.top, place.left, place.top + place.height},
                       {place.left + place.width, place.top, client.right, place.top + place.height}};
  for (const RECT& bar : bars) {
    if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
  }
  DrawPicture(dc, place, shown_->width, shown_->height, shown_->pixels.data(),
              subtitles_.RenderedFor(place.width, place.height));
}

void MediaPlayerControl::ShowMenu(HWND owner, POINT at) {
  if (at.x == -1 && at.y == -1) {  // from the keyboard: the middle of the picture
    RECT client{};
    GetClientRect(owner, &client);
    at = POINT{client.right / 2, client.bottom / 2};
    ClientToScreen(owner, &at);
  }
  const UniqueMenu menu(CreatePopupMenu());
  subtitles_.AppendMenu(menu.get());
  {
    const std::lock_guard lock(mutex_);
    AppendAudioMenu(menu.get(), tracks_.audio, audio_track_);
    AppendSpeedMenu(menu.get(), speed_);
  }
  Log(L"Menu");
  // The menu's loop runs the ticks: what the commands name is what the menu showed.
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  if (subtitles_.Command(chosen, owner)) {
    if (subtitles_.TakeChoiceChanged()) Remember();
  } else if (chosen >= kFirstAudioCommand && chosen <= kLastAudioCommand) {
    ChooseAudio(static_cast<int>(chosen - kFirstAudioCommand));
  } else if (const int speed = SpeedOfCommand(chosen); speed > 0) {
    ChooseSpeed(speed);
  }
  // What shows may have changed: the next tick draws it.
}

#pragma once
// The product's own player control: the player's members over FFmpeg's decoding libraries,
// the picture drawn into its own window with GDI, the sound through waveOut.
#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "common/win32/in_place_control.h"
#include "common/win32/server_module.h"
#include "common/win32/window_base.h"
#include "media_player/core/playback_session.h"
#include "media_player/win32/media_decoder_win32.h"
#include "media_player/win32/media_download_win32.h"
#include "media_player/win32/subtitle_overlay_win32.h"
#include "media_player/win32/video_adjust_dialog_win32.h"
#include "media_player/win32/wave_output_win32.h"

class MediaPlayerControl final : public InPlaceControl, public DecoderEvents {
 public:
  MediaPlayerControl();

 private:
  ~MediaPlayerControl() override;

  // The window the picture is drawn in; it also carries the control's clock tick.
  class Screen final : public WindowBase {
   public:
    Screen(MediaPlayerControl& control, HWND parent, const RECT& area);
    ~Screen() override;
    HWND hwnd() const { return hwnd_; }
    void EnterFullScreen();
    void LeaveFullScreen();

   private:
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    MediaPlayerControl& control_;
    HWND home_parent_ = nullptr;
    RECT home_place_{};
    bool full_screen_ = false;
  };

  HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;
  HWND CreateView(HWND parent, const RECT& area) override;
  void DestroyView() override { screen_.reset(); }
  HWND View() const override { return screen_ ? screen_->hwnd() : nullptr; }

  void DecoderOpened(std::uint64_t generation, std::int64_t duration_ms, std::int64_t bytes) override;
  void DecoderFirstPicture(std::uint64_t generation) override;
  void DecoderEnded(std::uint64_t generation, std::int64_t end_ms) override;
  void DecoderFailed(std::uint64_t generation) override;
  void DecoderTracks(std::uint64_t generation, const MediaTracks& tracks, int audio_track) override;

  void Send(const DecoderRequest& request);
  // The fetch of a web address: the one fetched ahead when it is that address, or a new one.
  std::shared_ptr<MediaDownload> DownloadFor(const std::wstring& url);
  void CancelOpen();
  void WatchForStarving(std::uint64_t generation, std::int64_t media);
  void ShowAdjustDialog();
  // New pictures take the adjustment; a paused picture is decoded again to show it.
  void ApplyAdjust(const PictureAdjust& adjust);
  void Tick();
  void Resized(int width, int height);
  void Paint(HDC dc);
  void ShowMenu(HWND owner, POINT at);  // the picture's own menu, at a point of the screen
  void PictureKey(WPARAM key);
  void ItemChanged();
  void ChooseAudio(int track);  // an index of the item's audio tracks
  void ChooseSpeed(int per_mille);
  void GoOnFromHere();  // with the lock held
  void Remember();      // the item's choices, kept for the next time it plays
  long DownloadProgress();

  std::mutex mutex_;  // guards the session and the item's size against the decoder's reports
  PlaybackSession session_;
  std::int64_t item_bytes_ = -1;
  long stopped_share_ = 0;                        // of a web item stopped, whose fetch has ended
  std::shared_ptr<MediaDownload> download_;       // the item's, when it is on the web
  std::shared_ptr<MediaDownload> next_download_;  // the next item's, fetched ahead
  std::shared_ptr<std::atomic<bool>> open_cancel_ = std::make_shared<std::atomic<bool>>(false);
  bool starved_ = false;
  std::wstring media_url_;
  long volume_ = 50;
  bool muted_ = false;
  std::unique_ptr<VideoFrame> shown_;
  std::int64_t sound_logged_at_ = 0;
  long dropped_logged_ = 0;  // late pictures left out, as last written to the log
  std::int64_t dropped_logged_at_ = 0;
  std::uint64_t item_generation_ = 0;  // of the last close or open: reports before it are of another item
  MediaTracks tracks_;
  int audio_track_ = -1;   // the one playing, of tracks_.audio
  int audio_choice_ = -1;  // the one the user chose, -1 for the usual
  bool tracks_changed_ = false;
  int speed_ = 1000;                             // per mille
  std::shared_ptr<EmbeddedSubtitles> embedded_;  // the text subtitles inside the item
  SubtitleOverlay subtitles_;
  std::unique_ptr<Screen> screen_;
  std::unique_ptr<VideoAdjustDialog> adjust_dialog_;
  WaveOutput audio_;
  std::unique_ptr<MediaDecoder> decoder_;  // last: its thread stops before the rest goes
};

#pragma once
// Decoding on a thread of its own with FFmpeg's libraries (MediaReader): it opens the item,
// seeks, and keeps a few pictures (converted to BGRX) and a little sound ahead of the clock;
// a picture already late when it is decoded is dropped, not converted. Requests come from
// the window thread; reports go back through DecoderEvents, naming the request they answer.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media_player/core/media_tracks.h"
#include "media_player/core/picture.h"
#include "media_player/core/playback_session.h"

class EmbeddedSubtitles;
class MediaInput;
class MediaReader;
class WaveOutput;

struct VideoFrame {
  std::uint64_t generation = 0;
  std::int64_t start_ms = 0;
  int width = 0, height = 0;              // of the pixels
  int shape_width = 0, shape_height = 0;  // the shape on the screen (pixel aspect, turn)
  std::vector<std::uint32_t> pixels;      // BGRX rows, top first
};

class DecoderEvents {
 public:
  virtual ~DecoderEvents() = default;
  virtual void DecoderOpened(std::uint64_t generation, std::int64_t duration_ms, std::int64_t bytes) = 0;
  virtual void DecoderFirstPicture(std::uint64_t generation) = 0;
  virtual void DecoderEnded(std::uint64_t generation, std::int64_t end_ms) = 0;
  virtual void DecoderFailed(std::uint64_t generation) = 0;
  // The item's sound and subtitle tracks, and which sound track plays: after the open, and
  // again when another one plays.
  virtual void DecoderTracks(std::uint64_t generation, const MediaTracks& tracks, int audio_track) = 0;
};

// Where the decoder gets the item from: a file or a download, opened again for every open.
struct MediaSource {
  std::function<std::unique_ptr<MediaInput>()> open_input;  // null when it cannot be read
  std::shared_ptr<EmbeddedSubtitles> subtitles;             // where its text subtitles go, or null
};

class MediaDecoder {
 public:
  MediaDecoder(DecoderEvents& events, WaveOutput& audio);
  ~MediaDecoder();
  MediaDecoder(const MediaDecoder&) = delete;
  MediaDecoder& operator=(const MediaDecoder&) = delete;

  void Request(const DecoderRequest& request, MediaSource source = {});
  void SetAdjust(const PictureAdjust& adjust);
  PictureAdjust adjust();
  // The clock as the window thread last saw it, so that the decoder stays a little ahead.
  void SetClock(std::int64_t media_ms);
  // The window's size: pictures are scaled to the size they take in it.
  void SetWindowSize(int width, int height);
  // The sound track (an index of the item's audio tracks, -1 for the best) and the speed (per
  // mille) the next open or seek plays with; the caller seeks to where it is to apply them.
  void SetAudioTrack(int track);
  void SetSpeed(int per_mille);

  // The latest picture due at `media_ms` of the request `current`; pictures of earlier
  // requests are dropped. With `show_first` the first picture comes at once, due or not (the
  // picture of a seek, shown while the clock waits for it).
  std::unique_ptr<VideoFrame> TakeFrameDue(std::int64_t media_ms, std::uint64_t current, bool show_first);
  // A picture done with (replaced on the screen): its pixel memory takes the next picture, so
  // that a picture of the same size costs no fresh pages.
  void Recycle(std::unique_ptr<VideoFrame> frame);
  std::size_t queued_frames();
  // Pictures left out because they were late when decoded, since the item opened.
  long dropped_pictures();
  bool has_video();
  bool video_drained();  // the stream has ended and every picture is out

 private:
  struct Pending {
    bool any = false;
    bool close = false;
    bool open = false;
    bool seek = false;
    bool recreate = false;
    std::uint64_t open_generation = 0;
    std::uint64_t generation = 0;
    std::int64_t position_ms = 0;
    MediaSource source;
  };
  void Run();
  void Process(Pending pending);
  bool OpenReader();
  void StartAt(std::uint64_t generation, std::int64_t position_ms, bool fresh);
  bool DecodeStep();
  void DecodePicture(const PictureAdjust& adjust, int window_width, int window_height, std::int64_t clock);
  void DecodeSound();
  void ApplyChoices(std::uint64_t generation);
  void ReportTracks(std::uint64_t generation);
  void ReportFirst();
  // Under mutex_: keeps a used pixel buffer for the next picture, within the spare bound.
  void KeepSpare(std::vector<std::uint32_t> pixels);
  // Under mutex_: whether another picture may be decoded ahead, within the bound in bytes.
  bool RoomForPicture() const;
  void ReportEndOnce(bool failed);

  DecoderEvents& events_;
  WaveOutput& audio_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool quit_ = false;
  Pending pending_;
  std::deque<std::unique_ptr<VideoFrame>> frames_;
  std::vector<std::vector<std::uint32_t>> spare_pixels_;  // bounded in count and bytes
  PictureAdjust adjust_;
  std::int64_t clock_ms_ = 0;
  int window_width_ = 0, window_height_ = 0;
  int audio_track_ = -1, speed_ = 1000;
  bool has_video_ = false;
  bool video_ended_ = false;
  // Owned by the decoding thread.
  std::unique_ptr<MediaReader> reader_;
  MediaSource source_;
  std::atomic<long> dropped_{0};
  std::uint64_t generation_ = 0;
  std::int64_t target_ms_ = 0;
  std::int64_t video_end_ms_ = 0, audio_end_ms_ = 0;
  bool first_reported_ = false, end_reported_ = false, decoded_any_ = false;
  std::vector<std::uint8_t> held_sound_;  // a buffer the device had no room for yet
  std::int64_t held_start_ms_ = 0;
  std::thread thread_;
};

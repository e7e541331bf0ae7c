#pragma once
// One opened item, demuxed and decoded with FFmpeg's libraries: its best picture and sound
// streams, read from a MediaInput through the demuxer's own input callbacks. Pictures come
// out as 32-bit BGRX in their own shape (any size, bit depth and chroma layout, the stream's
// matrix and range, turned upright), sound as 16-bit stereo at a rate waveOut plays. Only the
// decoding thread uses it.
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "media_player/core/media_tracks.h"
#include "media_player/core/picture.h"
#include "media_player/win32/media_input_win32.h"
#include "media_player/win32/sound_tempo_win32.h"

class EmbeddedSubtitles;

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

// A demuxer reading `input` (which outlives it) through the read and seek callbacks; null when
// the input is no format the demuxers know. CloseDemuxer frees it with its input context.
AVFormatContext* OpenDemuxer(MediaInput* input);
void CloseDemuxer(AVFormatContext*& format);

struct DecodedPicture {
  std::int64_t start_ms = 0, length_ms = 0;
  int width = 0, height = 0;              // of the pixels, turned upright and scaled
  int shape_width = 0, shape_height = 0;  // the shape they take on the screen
  std::vector<std::uint32_t> pixels;      // BGRX rows, top first
};

struct DecodedSound {
  std::int64_t start_ms = 0, length_ms = 0;  // of the item's time
  std::vector<std::uint8_t> bytes;           // 16-bit stereo, at the speed
  int speed = 1000;                          // per mille: a byte plays this much of the item's time
};

class MediaReader {
 public:
  MediaReader();
  ~MediaReader();
  MediaReader(const MediaReader&) = delete;
  MediaReader& operator=(const MediaReader&) = delete;

  // Opens the item with its n-th sound track (-1: the best one); the text subtitles met on the
  // way go to `subtitles` (may be null).
  bool Open(std::unique_ptr<MediaInput> input, int audio_track = -1,
            std::shared_ptr<EmbeddedSubtitles> subtitles = nullptr);
  bool Seek(std::int64_t ms);
  // Another sound track (an index of tracks().audio), from the next seek on; false when it
  // does not open (the one before stays).
  bool SelectAudio(int track);
  int audio_track() const { return audio_track_; }
  // The sound's speed with its pitch kept, per mille; from the next seek on.
  void SetSpeed(int per_mille);
  int speed() const { return tempo_.per_mille(); }
  const MediaTracks& tracks() const { return tracks_; }

  enum class Got { kFrame, kEnded, kFailed };
  // The next picture: its timing, and whether it is worth converting (a late one is not).
  Got ReadPicture(std::int64_t* start_ms, std::int64_t* length_ms);
  // The picture just read, converted with `adjust` and scaled to the size it takes fitted in
  // a window of `window_width` x `window_height` (0: its own shape's size).
  bool ConvertPicture(const PictureAdjust& adjust, int window_width, int window_height, DecodedPicture& out);
  Got ReadSound(DecodedSound& out);
  void DropSound();  // no device: the sound stream is left out

  bool has_video() const { return video_ >= 0; }
  bool has_audio() const { return audio_ >= 0; }
  bool video_ended() const { return video_ < 0 || video_ended_; }
  bool audio_ended() const { return audio_ < 0 || audio_ended_; }
  // Whether the input broke (a failed fetch) rather than ended.
  bool input_failed() const { return input_failed_; }
  std::int64_t duration_ms() const { return duration_ms_; }
  std::int64_t size() { return input_ ? input_->size() : -1; }
  int sound_rate() const { return out_rate_; }
  static constexpr int kSoundChannels = 2;

 private:
  struct Stream;
  Got Decode(Stream& stream);
  AVPacket* NextPacket(Stream& stream);
  std::int64_t ToMs(std::int64_t stamp, int stream_index) const;
  bool OpenStream(int index, Stream& stream);
  void ListTracks();
  void OpenSubtitleStreams();
  void DecodeSubtitle(AVPacket* packet);

  std::unique_ptr<MediaInput> input_;
  AVFormatContext* format_ = nullptr;
  std::unique_ptr<Stream> video_stream_, audio_stream_;
  int video_ = -1, audio_ = -1;  // stream indexes
  bool video_ended_ = false, audio_ended_ = false;
  bool demuxer_ended_ = false, input_failed_ = false;
  std::int64_t duration_ms_ = 0;
  std::int64_t start_us_ = 0;  // the container's first time stamp: positions count from it
  AVFrame* frame_ = nullptr;
  int turn_ = 0;
  struct ScalerState;
  std::unique_ptr<ScalerState> scaler_state_;
  struct ResamplerState;
  std::unique_ptr<ResamplerState> resampler_state_;
  int out_rate_ = 0;
  MediaTracks tracks_;
  int audio_track_ = -1;
  SoundTempo tempo_;
  bool tempo_started_ = false;
  std::int64_t tempo_start_ms_ = 0, tempo_out_frames_ = 0;  // where the speeded sound began, how much came
  struct SubtitleStream;
  std::vector<std::unique_ptr<SubtitleStream>> subtitle_streams_;
  std::shared_ptr<EmbeddedSubtitles> subtitles_;
};

#include "media_player/win32/media_decoder_win32.h"

#include <objbase.h>

#include <algorithm>

#include "media_player/win32/decoding_libraries_win32.h"
#include "media_player/win32/media_reader_win32.h"
#include "media_player/win32/wave_output_win32.h"

namespace {

// Pictures decoded ahead and pixel buffers kept for the next ones are bounded in bytes, so a
// big picture does not hold four times its size: four small pictures ahead, two of 1280 x 720.
constexpr std::size_t kFramesAhead = 4;
constexpr std::size_t kMinFramesAhead = 2;
constexpr std::size_t kAheadBytes = 8u << 20;
constexpr std::size_t kSparePictures = 3;
constexpr std::size_t kSpareBytes = 4u << 20;  // at least one buffer, whatever its size
constexpr std::int64_t kSoundAheadMs = 600;    // queued at the device
constexpr std::int64_t kSoundLeadMs = 1200;    // decoded ahead of the clock at most
// A picture that ends this long before the clock when it is decoded is not worth converting.
constexpr std::int64_t kLateMs = 40;

}  // namespace

MediaDecoder::MediaDecoder(DecoderEvents& events, WaveOutput& audio)
    : events_(events), audio_(audio), thread_([this] { Run(); }) {}

MediaDecoder::~MediaDecoder() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void MediaDecoder::Request(const DecoderRequest& request, MediaSource source) {
  using Kind = DecoderRequest::Kind;
  if (request.kind == Kind::kNone) return;
  {
    const std::lock_guard lock(mutex_);
    Pending& p = pending_;
    if (request.kind == Kind::kSeek && p.any && p.open) {
      // Not opened yet: it opens straight at the new place.
      p.generation = request.generation;
      p.position_ms = request.position_ms;
    } else if (request.kind == Kind::kSeek) {
      const bool recreate = p.any && p.seek && p.recreate;
      const bool close = p.any && p.close;
      p = Pending{};
      p.any = p.seek = true;
      p.close = close;
      p.recreate = recreate || request.recreate;
      p.generation = request.generation;
      p.position_ms = request.position_ms;
    } else {
      p = Pending{};
      p.any = true;
      p.close = request.kind == Kind::kClose;
      p.open = request.kind == Kind::kOpen;
      p.open_generation = p.generation = request.generation;
      p.position_ms = request.position_ms;
      p.source = std::move(source);
    }
    frames_.clear();
  }
  wake_.notify_all();
}

void MediaDecoder::SetAdjust(const PictureAdjust& adjust) {
  const std::lock_guard lock(mutex_);
  adjust_ = ClampAdjust(adjust);
}

PictureAdjust MediaDecoder::adjust() {
  const std::lock_guard lock(mutex_);
  return adjust_;
}

void MediaDecoder::SetWindowSize(int width, int height) {
  const std::lock_guard lock(mutex_);
  window_width_ = width;
  window_height_ = height;
}

void MediaDecoder::SetAudioTrack(int track) {
  const std::lock_guard lock(mutex_);
  audio_track_ = track;
}

void MediaDecoder::SetSpeed(int per_mille) {
  const std::lock_guard lock(mutex_);
  speed_ = per_mille;
}

void MediaDecoder::SetClock(std::int64_t media_ms) {
  {
    const std::lock_guard lock(mutex_);
    clock_ms_ = media_ms;
  }
  wake_.notify_all();
}

std::unique_ptr<VideoFrame> MediaDecoder::TakeFrameDue(std::int64_t media_ms, std::uint64_t current, bool show_first) {
  std::unique_ptr<VideoFrame> due;
  {
    const std::lock_guard lock(mutex_);
    const auto keep = [this](std::unique_ptr<VideoFrame> frame) {
      if (frame) KeepSpare(std::move(frame->pixels));
    };
    while (!frames_.empty()) {
      VideoFrame& next = *frames_.front();
      if (next.generation != current) {
        keep(std::move(frames_.front()));
        frames_.pop_front();
        continue;
      }
      if (next.start_ms > media_ms && !(show_first && !due)) break;
      keep(std::move(due));
      due = std::move(frames_.front());
      frames_.pop_front();
    }
  }
  if (due) wake_.notify_all();
  return due;
}

void MediaDecoder::Recycle(std::unique_ptr<VideoFrame> frame) {
  if (!frame) return;
  const std::lock_guard lock(mutex_);
  KeepSpare(std::move(frame->pixels));
}

void MediaDecoder::KeepSpare(std::vector<std::uint32_t> pixels) {
  std::size_t bytes = pixels.capacity() * sizeof(std::uint32_t);
  for (const auto& spare : spare_pixels_) bytes += spare.capacity() * sizeof(std::uint32_t);
  if (spare_pixels_.empty() || (spare_pixels_.size() < kSparePictures && bytes <= kSpareBytes)) {
    spare_pixels_.push_back(std::move(pixels));
  }
}

bool MediaDecoder::RoomForPicture() const {
  std::size_t bytes = 0;
  for (const auto& frame : frames_) bytes += frame->pixels.size() * sizeof(std::uint32_t);
  const std::size_t picture = frames_.empty() ? 0 : bytes / frames_.size();
  return frames_.size() < kMinFramesAhead || (frames_.size() < kFramesAhead && bytes + picture <= kAheadBytes);
}

long MediaDecoder::dropped_pictures() { return dropped_.load(); }

std::size_t MediaDecoder::queued_frames() {
  const std::lock_guard lock(mutex_);
  return frames_.size();
}

bool MediaDecoder::has_video() {
  const std::lock_guard lock(mutex_);
  return has_video_;
}

bool MediaDecoder::video_drained() {
  const std::lock_guard lock(mutex_);
  return video_ended_ && frames_.empty();
}

void MediaDecoder::Run() {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (;;) {
    Pending next;
    {
      std::unique_lock lock(mutex_);
      if (quit_) break;
      if (pending_.any) {
        next = std::move(pending_);
        pending_ = Pending{};
      }
    }
    if (next.any) {
      Process(std::move(next));
      continue;
    }
    if (!DecodeStep()) {
      std::unique_lock lock(mutex_);
      wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return quit_ || pending_.any; });
    }
  }
  reader_.reset();
  source_ = MediaSource{};
  if (SUCCEEDED(com)) CoUninitialize();
}

bool MediaDecoder::OpenReader() {
  // The reader calls into the decoding libraries from its making to its end.
  if (!LoadDecodingLibraries()) return false;
  reader_ = std::make_unique<MediaReader>();
  int audio_track = -1;
  {
    const std::lock_guard lock(mutex_);
    audio_track = audio_track_;
  }
  if (!source_.open_input || !reader_->Open(source_.open_input(), audio_track, source_.subtitles)) {
    reader_.reset();
    return false;
  }
  if (reader_->has_audio() && !audio_.Open(MediaReader::kSoundChannels, reader_->sound_rate())) reader_->DropSound();
  const std::lock_guard lock(mutex_);
  has_video_ = reader_->has_video();
  return reader_->has_video() || reader_->has_audio();
}

void MediaDecoder::Process(Pending p) {
  if (p.close || p.open) {
    reader_.reset();
    // A closed item lets go of its source too: its fetch is told to stop once nobody holds it.
    source_ = MediaSource{};
    audio_.Close();
    held_sound_.clear();
    generation_ = 0;
    const std::lock_guard lock(mutex_);
    has_video_ = video_ended_ = false;
  }
  if (p.open) {
    source_ = std::move(p.source);
    if (!OpenReader()) {
      events_.DecoderFailed(p.generation);
      return;
    }
    dropped_ = 0;
    events_.DecoderOpened(p.open_generation, reader_->duration_ms(), reader_->size());
    ReportTracks(p.open_generation);
    ApplyChoices(p.generation);
    StartAt(p.generation, p.position_ms, true);
  } else if (p.seek && reader_) {
    ApplyChoices(p.generation);
    // Also after the end: the demuxer seeks back and the decoders start again.
    StartAt(p.generation, p.position_ms, false);
  }
}

void MediaDecoder::ApplyChoices(std::uint64_t generation) {
  int audio_track = -1, speed = 1000;
  {
    const std::lock_guard lock(mutex_);
    audio_track = audio_track_;
    speed = speed_;
  }
  // Another sound track plays from the place the seek goes to; a device that cannot take its
  // rate leaves the sound out rather than playing it at the wrong pitch.
  if (audio_track >= 0 && audio_track != reader_->audio_track() && reader_->has_audio() && audio_.is_open()) {
    const int rate = reader_->sound_rate();
    if (reader_->SelectAudio(audio_track)) {
      if (reader_->sound_rate() != rate && !audio_.Open(MediaReader::kSoundChannels, reader_->sound_rate())) {
        reader_->DropSound();
      }
      ReportTracks(generation);
    }
  }
  reader_->SetSpeed(speed);
}

void MediaDecoder::ReportTracks(std::uint64_t generation) {
  events_.DecoderTracks(generation, reader_->tracks(), reader_->audio_track());
}

void MediaDecoder::StartAt(std::uint64_t generation, std::int64_t position_ms, bool fresh) {
  generation_ = generation;
  target_ms_ = position_ms;
  video_end_ms_ = audio_end_ms_ = position_ms;
  first_reported_ = end_reported_ = decoded_any_ = false;
  held_sound_.clear();
  audio_.Reset();
  audio_.SetSpeed(reader_->speed());
  if (position_ms > 0 || !fresh) reader_->Seek(position_ms);
  const std::lock_guard lock(mutex_);
  frames_.clear();
  video_ended_ = false;
}

void MediaDecoder::ReportFirst() {
  if (first_reported_) return;
  first_reported_ = true;
  events_.DecoderFirstPicture(generation_);
}

void MediaDecoder::ReportEndOnce(bool failed) {
  if (end_reported_) return;
  end_reported_ = true;
  {
    const std::lock_guard lock(mutex_);
    video_ended_ = true;
  }
  // A read that fails after pictures came is the end of a cut-short item, not a failure.
  if (failed && !decoded_any_) events_.DecoderFailed(generation_);
  else events_.DecoderEnded(generation_, std::max(video_end_ms_, audio_end_ms_));
}

bool MediaDecoder::DecodeStep() {
  if (!reader_ || generation_ == 0 || end_reported_) return false;
  std::int64_t clock = 0;
  PictureAdjust adjust;
  int window_width = 0, window_height = 0;
  bool room = false;
  {
    const std::lock_guard lock(mutex_);
    room = RoomForPicture();
    clock = clock_ms_;
    adjust = adjust_;
    window_width = window_width_;
    window_height = window_height_;
  }
  if (!held_sound_.empty()) {
    if (!audio_.Queue(held_sound_.data(), held_sound_.size(), held_start_ms_)) {
      if (reader_->video_ended() || !room) return false;
    } else {
      held_sound_.clear();
    }
  }
  // The sound's last block is short of a whole one: it goes to the device as it is.
  if (reader_->audio_ended() && held_sound_.empty()) audio_.Flush();
  const bool need_video = !reader_->video_ended() && room;
  const bool need_audio = !reader_->audio_ended() && held_sound_.empty() && audio_.QueuedMs() < kSoundAheadMs &&
                          audio_end_ms_ - std::max(clock, target_ms_) < kSoundLeadMs;
  if (!need_video && !need_audio) {
    if (reader_->video_ended() && reader_->audio_ended()) ReportEndOnce(reader_->input_failed());
    return false;
  }
  if (need_video && (!need_audio || video_end_ms_ <= audio_end_ms_)) {
    DecodePicture(adjust, window_width, window_height, clock);
  } else DecodeSound();
  if (reader_->video_ended()) {
    const std::lock_guard lock(mutex_);
    video_ended_ = true;
  }
  if (reader_->video_ended() && reader_->audio_ended()) ReportEndOnce(reader_->input_failed());
  return true;
}

void MediaDecoder::DecodePicture(const PictureAdjust& adjust, int window_width, int window_height, std::int64_t clock) {
  std::int64_t start = 0, length = 0;
  if (reader_->ReadPicture(&start, &length) != MediaReader::Got::kFrame) return;
  const std::int64_t end = start + length;
  video_end_ms_ = std::max(video_end_ms_, end);
  // Pictures before the place sought are decoded and not shown.
  if (end <= target_ms_) return;
  // One already behind the clock is dropped: falling behind would only grow.
  if (first_reported_ && end + kLateMs < clock) {
    ++dropped_;
    return;
  }
  DecodedPicture picture;
  {
    const std::lock_guard lock(mutex_);
    if (!spare_pixels_.empty()) {
      picture.pixels = std::move(spare_pixels_.back());
      spare_pixels_.pop_back();
    }
  }
  if (!reader_->ConvertPicture(adjust, window_width, window_height, picture)) return;
  auto frame = std::make_unique<VideoFrame>();
  frame->generation = generation_;
  frame->start_ms = start;
  frame->width = picture.width;
  frame->height = picture.height;
  frame->shape_width = picture.shape_width;
  frame->shape_height = picture.shape_height;
  frame->pixels = std::move(picture.pixels);
  decoded_any_ = true;
  {
    const std::lock_guard lock(mutex_);
    frames_.push_back(std::move(frame));
  }
  ReportFirst();
}

void MediaDecoder::DecodeSound() {
  DecodedSound sound;
  if (reader_->ReadSound(sound) != MediaReader::Got::kFrame) return;
  const std::int64_t end = sound.start_ms + std::max<std::int64_t>(sound.length_ms, 1);
  audio_end_ms_ = std::max(audio_end_ms_, end);
  if (end <= target_ms_ || sound.bytes.empty()) return;
  // Sound before the place sought is cut off, on a whole sample frame.
  const std::size_t frame_bytes = MediaReader::kSoundChannels * 2;
  std::size_t skip = 0;
  if (sound.start_ms < target_ms_) {
    // A byte of speeded sound plays `speed` / 1000 of the item's time.
    skip = static_cast<std::size_t>((target_ms_ - sound.start_ms) * reader_->sound_rate() / std::max(1, sound.speed)) *
           frame_bytes;
  }
  if (skip >= sound.bytes.size()) return;
  decoded_any_ = true;
  const std::int64_t start = std::max(sound.start_ms, target_ms_);
  if (!audio_.Queue(sound.bytes.data() + skip, sound.bytes.size() - skip, start)) {
    held_sound_.assign(sound.bytes.begin() + static_cast<std::ptrdiff_t>(skip), sound.bytes.end());
    held_start_ms_ = start;
  }
  if (!reader_->has_video()) ReportFirst();
}

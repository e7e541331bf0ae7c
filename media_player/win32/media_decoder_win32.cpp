#include "media_player/win32/media_decoder_win32.h"

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <algorithm>

#include "common/win32/com.h"
#include "common/win32/trace.h"
#include "media_player/win32/wave_output_win32.h"

namespace {

constexpr std::size_t kFramesAhead = 4;
constexpr std::int64_t kSoundAheadMs = 600;  // queued at the device
constexpr std::int64_t kSoundLeadMs = 1200;  // decoded ahead of the clock at most
constexpr DWORD kVideo = static_cast<DWORD>(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
constexpr DWORD kAudio = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);

std::int64_t ToMs(LONGLONG hundred_ns) { return hundred_ns / 10000; }

}  // namespace

// One opened item: the source reader with its output formats chosen.
class MediaDecoder::Reader {
 public:
  bool Open(const MediaSource& source) {
    ComPtr<IMFAttributes> attributes;
    if (FAILED(MFCreateAttributes(attributes.Receive(), 2))) return false;
    // Lets the reader add the colour converter when a decoder gives another layout.
    attributes->SetUINT32(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING, TRUE);
    HRESULT hr = E_FAIL;
    if (source.open_stream) {
      ComPtr<IMFByteStream> stream = ComPtr<IMFByteStream>::Adopt(source.open_stream());
      if (stream) hr = MFCreateSourceReaderFromByteStream(stream.get(), attributes.get(), reader_.Receive());
    } else {
      hr = MFCreateSourceReaderFromURL(source.path.c_str(), attributes.get(), reader_.Receive());
    }
    if (FAILED(hr) || !reader_) return false;
    PROPVARIANT value;
    PropVariantInit(&value);
    if (SUCCEEDED(reader_->GetPresentationAttribute(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION,
                                                    &value))) {
      duration_ms_ = ToMs(static_cast<LONGLONG>(value.uhVal.QuadPart));
    }
    PropVariantClear(&value);
    has_video_ = ChooseVideo();
    has_audio_ = ChooseAudio();
    return has_video_ || has_audio_;
  }

  bool Seek(std::int64_t ms) {
    PROPVARIANT position;
    PropVariantInit(&position);
    position.vt = VT_I8;
    position.hVal.QuadPart = ms * 10000;
    video_ended_ = audio_ended_ = false;
    return SUCCEEDED(reader_->SetCurrentPosition(GUID_NULL, position));
  }

  // Leaves the sound out (no device to play it).
  void DropAudio() {
    reader_->SetStreamSelection(kAudio, FALSE);
    has_audio_ = false;
  }

  struct Sample {
    bool ok = false;
    bool ended = false;
    std::int64_t start_ms = 0, length_ms = 0;
    ComPtr<IMFMediaBuffer> buffer;
  };
  Sample Read(DWORD stream) {
    Sample sample;
    DWORD actual = 0, flags = 0;
    LONGLONG stamp = 0;
    ComPtr<IMFSample> media;
    if (FAILED(reader_->ReadSample(stream, 0, &actual, &flags, &stamp, media.Receive()))) return sample;
    sample.ok = true;
    if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) {
      if (stream == kVideo) ReadVideoFormat();
    }
    if (flags & MF_SOURCE_READERF_ENDOFSTREAM) {
      sample.ended = true;
      (stream == kVideo ? video_ended_ : audio_ended_) = true;
    }
    if (!media) return sample;
    LONGLONG length = 0;
    media->GetSampleDuration(&length);
    sample.start_ms = ToMs(stamp);
    sample.length_ms = ToMs(length);
    media->ConvertToContiguousBuffer(sample.buffer.Receive());
    return sample;
  }

  bool has_video() const { return has_video_; }
  bool has_audio() const { return has_audio_; }
  bool video_ended() const { return video_ended_ || !has_video_; }
  bool audio_ended() const { return audio_ended_ || !has_audio_; }
  std::int64_t duration_ms() const { return duration_ms_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool semi_planar() const { return semi_planar_; }
  int channels() const { return channels_; }
  int rate() const { return rate_; }

 private:
  bool ChooseVideo() {
    for (const GUID& subtype : {MFVideoFormat_I420, MFVideoFormat_NV12}) {
      ComPtr<IMFMediaType> type;
      if (FAILED(MFCreateMediaType(type.Receive()))) return false;
      type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
      type->SetGUID(MF_MT_SUBTYPE, subtype);
      if (SUCCEEDED(reader_->SetCurrentMediaType(kVideo, nullptr, type.get()))) {
        reader_->SetStreamSelection(kVideo, TRUE);
        return ReadVideoFormat();
      }
    }
    reader_->SetStreamSelection(kVideo, FALSE);
    return false;
  }

  bool ReadVideoFormat() {
    ComPtr<IMFMediaType> current;
    if (FAILED(reader_->GetCurrentMediaType(kVideo, current.Receive()))) return false;
    UINT32 width = 0, height = 0;
    GUID subtype{};
    MFGetAttributeSize(current.get(), MF_MT_FRAME_SIZE, &width, &height);
    current->GetGUID(MF_MT_SUBTYPE, &subtype);
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    semi_planar_ = subtype == MFVideoFormat_NV12;
    return width_ > 0 && height_ > 0 && width_ <= 8192 && height_ <= 8192;
  }

  bool ChooseAudio() {
    ComPtr<IMFMediaType> type;
    if (FAILED(MFCreateMediaType(type.Receive()))) return false;
    type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
    type->SetGUID(MF_MT_SUBTYPE, MFAudioFormat_PCM);
    type->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, 16);
    ComPtr<IMFMediaType> current;
    if (FAILED(reader_->SetCurrentMediaType(kAudio, nullptr, type.get())) ||
        FAILED(reader_->GetCurrentMediaType(kAudio, current.Receive()))) {
      reader_->SetStreamSelection(kAudio, FALSE);
      return false;
    }
    reader_->SetStreamSelection(kAudio, TRUE);
    channels_ = static_cast<int>(MFGetAttributeUINT32(current.get(), MF_MT_AUDIO_NUM_CHANNELS, 0));
    rate_ = static_cast<int>(MFGetAttributeUINT32(current.get(), MF_MT_AUDIO_SAMPLES_PER_SECOND, 0));
    return channels_ > 0 && rate_ > 0;
  }

  ComPtr<IMFSourceReader> reader_;
  std::int64_t duration_ms_ = 0;
  bool has_video_ = false, has_audio_ = false;
  bool video_ended_ = false, audio_ended_ = false;
  int width_ = 0, height_ = 0;
  bool semi_planar_ = false;
  int channels_ = 0, rate_ = 0;
};

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
    while (!frames_.empty()) {
      VideoFrame& next = *frames_.front();
      if (next.generation != current) {
        frames_.pop_front();
        continue;
      }
      if (next.start_ms > media_ms && !(show_first && !due)) break;
      due = std::move(frames_.front());
      frames_.pop_front();
    }
  }
  if (due) wake_.notify_all();
  return due;
}

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
  const bool media_foundation = SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_FULL));
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
      if (media_foundation) Process(std::move(next));
      else if (next.open) events_.DecoderFailed(next.generation);
      continue;
    }
    if (!DecodeStep()) {
      std::unique_lock lock(mutex_);
      wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return quit_ || pending_.any; });
    }
  }
  reader_.reset();
  if (media_foundation) MFShutdown();
  if (SUCCEEDED(com)) CoUninitialize();
}

bool MediaDecoder::OpenReader() {
  reader_ = std::make_unique<Reader>();
  if (!reader_->Open(source_)) {
    reader_.reset();
    return false;
  }
  if (reader_->has_audio() && !audio_.Open(reader_->channels(), reader_->rate())) reader_->DropAudio();
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
    std::int64_t bytes = -1;
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (!source_.open_stream && GetFileAttributesExW(source_.path.c_str(), GetFileExInfoStandard, &file)) {
      bytes = (static_cast<std::int64_t>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    }
    events_.DecoderOpened(p.open_generation, reader_->duration_ms(), bytes);
    StartAt(p.generation, p.position_ms, true);
  } else if (p.seek && reader_) {
    // The reader cannot seek once it has given its end of stream: it is opened again.
    const bool at_end = reader_->video_ended() && reader_->audio_ended();
    if (p.recreate || at_end) {
      reader_.reset();
      if (!OpenReader()) {
        events_.DecoderFailed(p.generation);
        return;
      }
    }
    StartAt(p.generation, p.position_ms, false);
  }
}

void MediaDecoder::StartAt(std::uint64_t generation, std::int64_t position_ms, bool fresh) {
  generation_ = generation;
  target_ms_ = position_ms;
  video_end_ms_ = audio_end_ms_ = position_ms;
  first_reported_ = end_reported_ = decoded_any_ = false;
  held_sound_.clear();
  audio_.Reset();
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
  std::size_t queued = 0;
  std::int64_t clock = 0;
  PictureAdjust adjust;
  {
    const std::lock_guard lock(mutex_);
    queued = frames_.size();
    clock = clock_ms_;
    adjust = adjust_;
  }
  if (!held_sound_.empty()) {
    if (!audio_.Queue(held_sound_.data(), held_sound_.size(), held_start_ms_)) {
      if (reader_->video_ended() || queued >= kFramesAhead) return false;
    } else {
      held_sound_.clear();
    }
  }
  const bool need_video = !reader_->video_ended() && queued < kFramesAhead;
  const bool need_audio = !reader_->audio_ended() && held_sound_.empty() && audio_.QueuedMs() < kSoundAheadMs &&
                          audio_end_ms_ - std::max(clock, target_ms_) < kSoundLeadMs;
  if (!need_video && !need_audio) {
    if (reader_->video_ended() && reader_->audio_ended()) ReportEndOnce(false);
    return false;
  }
  const DWORD stream = need_video && (!need_audio || video_end_ms_ <= audio_end_ms_) ? kVideo : kAudio;
  Reader::Sample sample = reader_->Read(stream);
  if (!sample.ok) {
    ReportEndOnce(true);
    return true;
  }
  if (sample.buffer) {
    const std::int64_t end = sample.start_ms + std::max<std::int64_t>(sample.length_ms, 1);
    if (stream == kVideo) {
      video_end_ms_ = std::max(video_end_ms_, end);
      if (end > target_ms_) PushPicture(sample.buffer.get(), sample.start_ms, adjust);
    } else {
      audio_end_ms_ = std::max(audio_end_ms_, end);
      BYTE* data = nullptr;
      DWORD length = 0;
      if (end > target_ms_ && SUCCEEDED(sample.buffer->Lock(&data, nullptr, &length))) {
        // Sound before the place sought is cut off, on a whole sample frame.
        const std::size_t frame_bytes = static_cast<std::size_t>(reader_->channels()) * 2;
        std::size_t skip = 0;
        if (sample.start_ms < target_ms_) {
          skip = static_cast<std::size_t>((target_ms_ - sample.start_ms) * reader_->rate() / 1000) * frame_bytes;
        }
        if (skip < length) {
          decoded_any_ = true;
          if (!audio_.Queue(data + skip, length - skip, std::max(sample.start_ms, target_ms_))) {
            held_sound_.assign(data + skip, data + length);
            held_start_ms_ = std::max(sample.start_ms, target_ms_);
          }
          if (!reader_->has_video()) ReportFirst();
        }
        sample.buffer->Unlock();
      }
    }
  }
  if (reader_->video_ended()) {
    const std::lock_guard lock(mutex_);
    video_ended_ = true;
  }
  if (reader_->video_ended() && reader_->audio_ended()) ReportEndOnce(false);
  return true;
}

void MediaDecoder::PushPicture(const IMFMediaBufferHolder& buffer, std::int64_t start_ms, const PictureAdjust& adjust) {
  const int width = reader_->width(), height = reader_->height();
  BYTE* data = nullptr;
  DWORD length = 0;
  if (FAILED(buffer->Lock(&data, nullptr, &length))) return;
  // The rows may be padded (to 16 lines, or a wider pitch): the plane sizes follow from the
  // buffer's length.
  LONG pitch = width;
  ComPtr<IMF2DBuffer> planes;
  if (SUCCEEDED(buffer->QueryInterface(IID_IMF2DBuffer, planes.ReceiveVoid())) && planes) {
    BYTE* first = nullptr;
    LONG reported = 0;
    if (SUCCEEDED(planes->Lock2D(&first, &reported))) {
      if (reported >= width && first == data) pitch = reported;
      planes->Unlock2D();
    }
  }
  // Every plane read lies inside the buffer. A buffer one chroma row short (an odd height
  // whose planes were rounded down) gives all rows but the last, which repeats the one above;
  // one that is shorter still is no picture.
  int converted = height;
  auto layout = LocateYuvPlanes(length, pitch, width, height, reader_->semi_planar());
  if (!layout && height > 1 && height % 2 == 1) {
    converted = height - 1;
    layout = LocateYuvPlanes(length, pitch, width, converted, reader_->semi_planar());
  }
  if (layout) {
    auto frame = std::make_unique<VideoFrame>();
    frame->generation = generation_;
    frame->start_ms = start_ms;
    frame->width = width;
    frame->height = height;
    frame->pixels.resize(static_cast<std::size_t>(width) * height);
    if (!tables_ || !(tables_->adjust() == adjust)) tables_ = std::make_unique<YuvTables>(adjust);
    const BYTE* u = data + layout->u_offset;
    const BYTE* v = layout->v_offset ? data + layout->v_offset : nullptr;
    tables_->Convert(data, pitch, u, v, layout->uv_stride, v ? 1 : 2, width, converted, frame->pixels.data(), width);
    if (converted < height) {
      std::copy_n(frame->pixels.data() + static_cast<std::size_t>(width) * (converted - 1), width,
                  frame->pixels.data() + static_cast<std::size_t>(width) * converted);
    }
    decoded_any_ = true;
    {
      const std::lock_guard lock(mutex_);
      frames_.push_back(std::move(frame));
    }
    ReportFirst();
  }
  buffer->Unlock();
}

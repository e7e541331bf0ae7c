#include "media_player/win32/media_reader_win32.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "media_player/core/colour_conversion.h"
#include "media_player/core/embedded_subtitles.h"
#include "media_player/core/picture_geometry.h"
#include "media_player/win32/decoding_libraries_win32.h"

namespace {

constexpr int kInputBuffer = 64 * 1024;
// Packets of the other stream kept while one is decoded: enough for any interleaving a file
// has, never all of a broken one.
constexpr std::size_t kMaxQueuedPackets = 4096;
constexpr std::int64_t kMaxQueuedBytes = 64LL << 20;

int ReadInput(void* opaque, std::uint8_t* out, int count) {
  const int got = static_cast<MediaInput*>(opaque)->Read(out, count);
  if (got < 0) return AVERROR(EIO);
  return got == 0 ? AVERROR_EOF : got;
}

std::int64_t SeekInput(void* opaque, std::int64_t offset, int whence) {
  auto* input = static_cast<MediaInput*>(opaque);
  SeekFrom from = SeekFrom::kStart;
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: from = SeekFrom::kStart; break;
    case SEEK_CUR: from = SeekFrom::kCurrent; break;
    case SEEK_END: from = SeekFrom::kEnd; break;
    case AVSEEK_SIZE: from = SeekFrom::kSizeQuery; break;
    default: return AVERROR(EINVAL);
  }
  const std::int64_t target = input->Seek(from, offset);
  return target < 0 ? AVERROR(EIO) : target;
}

// The demuxer gives up at once when the item is closed.
int Interrupted(void* opaque) { return static_cast<MediaInput*>(opaque)->cancelled() ? 1 : 0; }

int Cores() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return std::clamp<int>(static_cast<int>(info.dwNumberOfProcessors), 1, 16);
}

StreamMatrix MatrixOfFrame(const AVFrame* frame) {
  switch (frame->colorspace) {
    case AVCOL_SPC_BT709: return StreamMatrix::kBt709;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
    case AVCOL_SPC_FCC: return StreamMatrix::kBt601;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL: return StreamMatrix::kBt2020;
    default: return StreamMatrix::kUnknown;
  }
}

int SwsMatrix(ColourMatrix matrix) {
  switch (matrix) {
    case ColourMatrix::kBt709: return SWS_CS_ITU709;
    case ColourMatrix::kBt2020: return SWS_CS_BT2020;
    case ColourMatrix::kBt601: break;
  }
  return SWS_CS_ITU601;
}

bool FullRange(const AVFrame* frame) {
  switch (frame->format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P: return true;
    default: return frame->color_range == AVCOL_RANGE_JPEG;
  }
}

// The rate waveOut is given: the item's own up to 48 kHz, the nearest usual one above.
int SoundRateFor(int rate) {
  if (rate <= 0) return 44100;
  if (rate <= 48000) return rate;
  return rate % 44100 == 0 ? 44100 : 48000;
}

// The subtitle streams whose decoders give text, which the control draws; picture subtitles
// (PGS, VobSub, DVB) are listed and left alone.
bool IsTextSubtitle(AVCodecID codec) {
  switch (codec) {
    case AV_CODEC_ID_SUBRIP:
    case AV_CODEC_ID_SRT:
    case AV_CODEC_ID_ASS:
    case AV_CODEC_ID_SSA:
    case AV_CODEC_ID_WEBVTT:
    case AV_CODEC_ID_MOV_TEXT:
    case AV_CODEC_ID_TEXT: return avcodec_find_decoder(codec) != nullptr;
    default: return false;
  }
}

std::string Metadata(const AVStream* stream, const char* key) {
  const AVDictionaryEntry* entry = av_dict_get(stream->metadata, key, nullptr, 0);
  return entry && entry->value ? std::string(entry->value).substr(0, 256) : std::string();
}

// A subtitle whose end the stream does not tell shows this long.
constexpr std::int64_t kUntoldSubtitleMs = 5000;

}  // namespace

AVFormatContext* OpenDemuxer(MediaInput* input) {
  if (!LoadDecodingLibraries()) return nullptr;
  auto* buffer = static_cast<unsigned char*>(av_malloc(kInputBuffer));
  if (!buffer) return nullptr;
  AVIOContext* io = avio_alloc_context(buffer, kInputBuffer, 0, input, ReadInput, nullptr, SeekInput);
  if (!io) {
    av_free(buffer);
    return nullptr;
  }
  AVFormatContext* format = avformat_alloc_context();
  if (!format) {
    av_freep(&io->buffer);
    avio_context_free(&io);
    return nullptr;
  }
  format->pb = io;
  format->flags |= AVFMT_FLAG_CUSTOM_IO;
  format->interrupt_callback = AVIOInterruptCB{Interrupted, input};
  if (avformat_open_input(&format, nullptr, nullptr, nullptr) < 0) {  // frees `format` when it fails
    av_freep(&io->buffer);
    avio_context_free(&io);
    return nullptr;
  }
  return format;
}

void CloseDemuxer(AVFormatContext*& format) {
  if (!format) return;
  AVIOContext* io = format->pb;
  avformat_close_input(&format);
  if (io) {
    av_freep(&io->buffer);
    avio_context_free(&io);
  }
}

struct MediaReader::Stream {
  int index = -1;
  AVCodecContext* codec = nullptr;
  std::deque<AVPacket*> packets;
  std::int64_t queued_bytes = 0;
  bool flushed = false;  // the decoder was told the end
  ~Stream() {
    for (AVPacket* packet : packets) av_packet_free(&packet);
    avcodec_free_context(&codec);
  }
  void Clear() {
    for (AVPacket* packet : packets) av_packet_free(&packet);
    packets.clear();
    queued_bytes = 0;
    flushed = false;
  }
};

struct MediaReader::SubtitleStream {
  int index = -1;
  int track = -1;  // of the text tracks, in the container's order
  AVCodecContext* codec = nullptr;
  ~SubtitleStream() { avcodec_free_context(&codec); }
};

struct MediaReader::ScalerState {
  SwsContext* context = nullptr;
  int width = 0, height = 0, format = -1;
  int scaled_width = 0, scaled_height = 0;
  ColourMatrix matrix = ColourMatrix::kBt601;
  bool full_range = false;
  ConverterAdjust adjust;
  bool details_set = false;
  std::vector<std::uint32_t> converted;  // before a turn
  ~ScalerState() { sws_freeContext(context); }
};

struct MediaReader::ResamplerState {
  SwrContext* context = nullptr;
  AVChannelLayout layout{};
  int format = -1, rate = 0;
  ~ResamplerState() {
    swr_free(&context);
    av_channel_layout_uninit(&layout);
  }
};

MediaReader::MediaReader()
    : frame_(av_frame_alloc()),
      scaler_state_(std::make_unique<ScalerState>()),
      resampler_state_(std::make_unique<ResamplerState>()) {}

MediaReader::~MediaReader() {
  video_stream_.reset();
  audio_stream_.reset();
  subtitle_streams_.clear();
  av_frame_free(&frame_);
  CloseDemuxer(format_);
}

bool MediaReader::Open(std::unique_ptr<MediaInput> input, int audio_track,
                       std::shared_ptr<EmbeddedSubtitles> subtitles) {
  if (!input || !frame_) return false;
  input_ = std::move(input);
  subtitles_ = std::move(subtitles);
  format_ = OpenDemuxer(input_.get());
  if (!format_) return false;
  if (avformat_find_stream_info(format_, nullptr) < 0) return false;
  start_us_ = format_->start_time != AV_NOPTS_VALUE ? format_->start_time : 0;
  if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0) duration_ms_ = format_->duration / 1000;

  ListTracks();
  video_stream_ = std::make_unique<Stream>();
  audio_stream_ = std::make_unique<Stream>();
  const int video = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  // A cover picture of a sound file is no video.
  if (video >= 0 && !(format_->streams[video]->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
      OpenStream(video, *video_stream_)) {
    video_ = video;
    double angle = NAN;
    if (const auto* matrix = reinterpret_cast<const std::int32_t*>(
            av_stream_get_side_data(format_->streams[video], AV_PKT_DATA_DISPLAYMATRIX, nullptr))) {
      angle = av_display_rotation_get(matrix);
    }
    turn_ = UprightTurn(angle);
  }
  // The track chosen before, else the best one (which one that is, is the library's call).
  const int best = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, video, nullptr, 0);
  for (const int candidate :
       {audio_track >= 0 && audio_track < static_cast<int>(tracks_.audio.size()) ? tracks_.audio[audio_track].stream
                                                                                 : -1,
        best}) {
    if (candidate < 0 || audio_ >= 0) continue;
    audio_stream_ = std::make_unique<Stream>();
    if (!OpenStream(candidate, *audio_stream_)) continue;
    audio_ = candidate;
    out_rate_ = SoundRateFor(audio_stream_->codec->sample_rate);
    for (std::size_t i = 0; i < tracks_.audio.size(); ++i) {
      if (tracks_.audio[i].stream == candidate) audio_track_ = static_cast<int>(i);
    }
  }
  OpenSubtitleStreams();
  // Only the streams played are read.
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    const int index = static_cast<int>(i);
    const bool subtitle = std::any_of(subtitle_streams_.begin(), subtitle_streams_.end(),
                                      [&](const auto& stream) { return stream->index == index; });
    if (index != video_ && index != audio_ && !subtitle) format_->streams[i]->discard = AVDISCARD_ALL;
  }
  tempo_.Set(tempo_.per_mille(), out_rate_);
  return has_video() || has_audio();
}

void MediaReader::ListTracks() {
  for (unsigned i = 0; i < format_->nb_streams && i < 256; ++i) {
    const AVStream* st = format_->streams[i];
    MediaTrack track;
    track.stream = static_cast<int>(i);
    track.language = Metadata(st, "language");
    track.title = Metadata(st, "title");
    track.is_default = (st->disposition & AV_DISPOSITION_DEFAULT) != 0;
    if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
      track.kind = MediaTrack::Kind::kAudio;
      tracks_.audio.push_back(std::move(track));
    } else if (st->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) {
      track.kind =
          IsTextSubtitle(st->codecpar->codec_id) ? MediaTrack::Kind::kTextSubtitle : MediaTrack::Kind::kPictureSubtitle;
      tracks_.subtitles.push_back(std::move(track));
    }
  }
}

void MediaReader::OpenSubtitleStreams() {
  if (!subtitles_) return;
  int text_track = 0;
  for (const MediaTrack& track : tracks_.subtitles) {
    if (track.kind != MediaTrack::Kind::kTextSubtitle) continue;
    const AVStream* st = format_->streams[track.stream];
    auto stream = std::make_unique<SubtitleStream>();
    stream->index = track.stream;
    stream->track = text_track++;
    const AVCodec* decoder = avcodec_find_decoder(st->codecpar->codec_id);
    stream->codec = decoder ? avcodec_alloc_context3(decoder) : nullptr;
    if (!stream->codec || avcodec_parameters_to_context(stream->codec, st->codecpar) < 0) continue;
    stream->codec->pkt_timebase = st->time_base;
    if (avcodec_open2(stream->codec, decoder, nullptr) < 0) continue;
    const char* header = reinterpret_cast<const char*>(stream->codec->subtitle_header);
    subtitles_->SetScript(
        stream->track, ParseSubtitleHeader(header ? std::string_view(header, static_cast<std::size_t>(
                                                                                 stream->codec->subtitle_header_size))
                                                  : std::string_view()));
    subtitle_streams_.push_back(std::move(stream));
  }
}

void MediaReader::DecodeSubtitle(AVPacket* packet) {
  for (const auto& stream : subtitle_streams_) {
    if (stream->index != packet->stream_index) continue;
    AVSubtitle subtitle{};
    int got = 0;
    if (avcodec_decode_subtitle2(stream->codec, &subtitle, &got, packet) < 0 || !got) return;
    const std::int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (stamp != AV_NOPTS_VALUE) {
      const std::int64_t at = ToMs(stamp, stream->index);
      const AVRational base = format_->streams[stream->index]->time_base;
      const std::int64_t length = packet->duration > 0 ? av_rescale_q(packet->duration, base, AVRational{1, 1000}) : 0;
      const std::int64_t start = at + subtitle.start_display_time;
      std::int64_t end = length > 0 ? at + length : at + subtitle.end_display_time;
      if (end <= start || subtitle.end_display_time == UINT32_MAX) end = start + kUntoldSubtitleMs;
      for (unsigned i = 0; i < subtitle.num_rects; ++i) {
        if (subtitle.rects[i]->ass) subtitles_->Add(stream->track, start, end, subtitle.rects[i]->ass);
      }
    }
    avsubtitle_free(&subtitle);
    return;
  }
}

bool MediaReader::SelectAudio(int track) {
  if (track < 0 || track >= static_cast<int>(tracks_.audio.size())) return false;
  if (track == audio_track_) return true;
  const int index = tracks_.audio[track].stream;
  auto next = std::make_unique<Stream>();
  if (!OpenStream(index, *next)) return false;
  if (audio_ >= 0) format_->streams[audio_]->discard = AVDISCARD_ALL;
  format_->streams[index]->discard = AVDISCARD_DEFAULT;
  audio_stream_ = std::move(next);
  audio_ = index;
  audio_track_ = track;
  audio_ended_ = false;
  out_rate_ = SoundRateFor(audio_stream_->codec->sample_rate);
  resampler_state_ = std::make_unique<ResamplerState>();
  tempo_.Set(tempo_.per_mille(), out_rate_);
  tempo_started_ = false;
  return true;
}

void MediaReader::SetSpeed(int per_mille) {
  if (per_mille == tempo_.per_mille()) return;  // a seek starts the filter again anyway
  tempo_.Set(per_mille, out_rate_);
  tempo_started_ = false;
}

bool MediaReader::OpenStream(int index, Stream& stream) {
  const AVStream* st = format_->streams[index];
  const AVCodec* decoder = avcodec_find_decoder(st->codecpar->codec_id);
  if (!decoder) return false;
  stream.codec = avcodec_alloc_context3(decoder);
  if (!stream.codec || avcodec_parameters_to_context(stream.codec, st->codecpar) < 0) return false;
  stream.codec->pkt_timebase = st->time_base;
  // Large pictures keep time on every core.
  stream.codec->thread_count = Cores();
  stream.codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  if (avcodec_open2(stream.codec, decoder, nullptr) < 0) return false;
  stream.index = index;
  return true;
}

std::int64_t MediaReader::ToMs(std::int64_t stamp, int stream_index) const {
  if (stamp == AV_NOPTS_VALUE) return -1;
  const AVRational time_base = format_->streams[stream_index]->time_base;
  return av_rescale_q(stamp, time_base, AVRational{1, 1000}) - start_us_ / 1000;
}

bool MediaReader::Seek(std::int64_t ms) {
  video_ended_ = audio_ended_ = demuxer_ended_ = false;
  tempo_.Reset();
  tempo_started_ = false;
  for (Stream* stream : {video_stream_.get(), audio_stream_.get()}) {
    if (!stream || stream->index < 0) continue;
    stream->Clear();
    avcodec_flush_buffers(stream->codec);
  }
  // Containers without an index of key frames (MPEG-TS and -PS) seek to a packet by its time,
  // which may lie after the key frame a picture needs: they start well before the place.
  const bool indexed = video_ < 0 || (avformat_index_get_entries_count(format_->streams[video_]) > 0 &&
                                      !(format_->iformat->flags & AVFMT_TS_DISCONT));
  const std::int64_t preroll_ms = indexed ? 0 : 3000;
  const std::int64_t target = start_us_ + std::max<std::int64_t>(0, ms - preroll_ms) * 1000;
  // The key frame at or before the place: the pictures up to it are decoded and not shown.
  return av_seek_frame(format_, -1, target, AVSEEK_FLAG_BACKWARD) >= 0 ||
         av_seek_frame(format_, -1, target, AVSEEK_FLAG_ANY) >= 0;
}

AVPacket* MediaReader::NextPacket(Stream& stream) {
  if (!stream.packets.empty()) {
    AVPacket* packet = stream.packets.front();
    stream.packets.pop_front();
    stream.queued_bytes -= packet->size;
    return packet;
  }
  while (!demuxer_ended_) {
    AVPacket* packet = av_packet_alloc();
    if (!packet) return nullptr;
    const int read = av_read_frame(format_, packet);
    if (read < 0) {
      av_packet_free(&packet);
      demuxer_ended_ = true;
      input_failed_ = read != AVERROR_EOF;
      return nullptr;
    }
    if (packet->stream_index == stream.index) return packet;
    if (!subtitle_streams_.empty() &&
        format_->streams[packet->stream_index]->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) {
      DecodeSubtitle(packet);
      av_packet_free(&packet);
      continue;
    }
    Stream* other = packet->stream_index == video_   ? video_stream_.get()
                    : packet->stream_index == audio_ ? audio_stream_.get()
                                                     : nullptr;
    if (other && other->packets.size() < kMaxQueuedPackets && other->queued_bytes < kMaxQueuedBytes) {
      other->queued_bytes += packet->size;
      other->packets.push_back(packet);
    } else {
      av_packet_free(&packet);
    }
  }
  return nullptr;
}

MediaReader::Got MediaReader::Decode(Stream& stream) {
  for (int attempts = 0; attempts < 100000; ++attempts) {
    const int received = avcodec_receive_frame(stream.codec, frame_);
    if (received == 0) return Got::kFrame;
    if (received == AVERROR_EOF) return Got::kEnded;
    if (received != AVERROR(EAGAIN)) return Got::kFailed;
    AVPacket* packet = NextPacket(stream);
    if (!packet) {
      if (stream.flushed) return Got::kEnded;
      stream.flushed = true;
      avcodec_send_packet(stream.codec, nullptr);  // the end: what the decoder holds comes out
      continue;
    }
    // A damaged packet is left out; the next one may decode.
    avcodec_send_packet(stream.codec, packet);
    av_packet_free(&packet);
  }
  return Got::kFailed;
}

MediaReader::Got MediaReader::ReadPicture(std::int64_t* start_ms, std::int64_t* length_ms) {
  if (video_ < 0 || video_ended_) return Got::kEnded;
  const Got got = Decode(*video_stream_);
  if (got != Got::kFrame) {
    video_ended_ = true;
    return got;
  }
  *start_ms = std::max<std::int64_t>(0, ToMs(frame_->best_effort_timestamp, video_));
  const AVStream* st = format_->streams[video_];
  std::int64_t length = av_rescale_q(frame_->pkt_duration, st->time_base, AVRational{1, 1000});
  if (length <= 0 && st->avg_frame_rate.num > 0) length = 1000LL * st->avg_frame_rate.den / st->avg_frame_rate.num;
  *length_ms = std::max<std::int64_t>(1, length);
  return Got::kFrame;
}

bool MediaReader::ConvertPicture(const PictureAdjust& adjust, int window_width, int window_height,
                                 DecodedPicture& out) {
  const AVFrame* f = frame_;
  if (f->width <= 0 || f->height <= 0 || f->width > 16384 || f->height > 16384 || !f->data[0]) return false;
  // The shape on the screen, and the size it takes there: the converter scales to it at once
  // (better and cheaper than the window stretching a picture of another size).
  const AVRational sar = av_guess_sample_aspect_ratio(format_, format_->streams[video_], frame_);
  const PictureShape shape = DisplayShape(f->width, f->height, sar.num, sar.den, turn_);
  int width = shape.width, height = shape.height;
  if (window_width > 0 && window_height > 0) {
    const PictureRect place = FitPicture(shape.width, shape.height, window_width, window_height);
    if (place.width > 0 && place.height > 0) width = place.width, height = place.height;
  }
  const bool quarter = turn_ == 90 || turn_ == 270;
  const int scaled_width = quarter ? height : width, scaled_height = quarter ? width : height;  // before the turn

  ScalerState& s = *scaler_state_;
  // A context of our own for the frame's size and layout and the size it goes to. Not
  // sws_getCachedContext: it makes its context again when the colour details set on it differ
  // from its defaults, and the new one has the default matrix.
  const bool new_context = !s.context || s.width != f->width || s.height != f->height || s.format != f->format ||
                           s.scaled_width != scaled_width || s.scaled_height != scaled_height;
  if (new_context) {
    sws_freeContext(s.context);
    s.context = sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format), scaled_width, scaled_height,
                               AV_PIX_FMT_BGR0, SWS_BILINEAR, nullptr, nullptr, nullptr);
    s.width = f->width;
    s.height = f->height;
    s.format = f->format;
    s.scaled_width = scaled_width;
    s.scaled_height = scaled_height;
    s.details_set = false;
  }
  if (!s.context) return false;
  const ColourMatrix matrix = MatrixFor(MatrixOfFrame(f), f->height);
  const bool full_range = FullRange(f);
  const ConverterAdjust converter = ConverterAdjustOf(adjust);
  if (!s.details_set || s.matrix != matrix || s.full_range != full_range || !(s.adjust == converter)) {
    sws_setColorspaceDetails(s.context, sws_getCoefficients(SwsMatrix(matrix)), full_range ? 1 : 0,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, converter.brightness, converter.contrast,
                             converter.saturation);
    s.matrix = matrix;
    s.full_range = full_range;
    s.adjust = converter;
    s.details_set = true;
  }
  std::vector<std::uint32_t>& target = turn_ == 0 ? out.pixels : s.converted;
  target.resize(static_cast<std::size_t>(scaled_width) * static_cast<std::size_t>(scaled_height));
  std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(target.data()), nullptr, nullptr, nullptr};
  int strides[4] = {scaled_width * 4, 0, 0, 0};
  if (sws_scale(s.context, f->data, f->linesize, 0, f->height, planes, strides) != scaled_height) return false;
  if (turn_ != 0) TurnPixels(s.converted.data(), scaled_width, scaled_height, turn_, out.pixels);
  out.width = width;
  out.height = height;
  out.shape_width = shape.width;
  out.shape_height = shape.height;
  return true;
}

MediaReader::Got MediaReader::ReadSound(DecodedSound& out) {
  if (audio_ < 0 || audio_ended_) return Got::kEnded;
  const Got got = Decode(*audio_stream_);
  if (got != Got::kFrame) {
    audio_ended_ = true;
    return got;
  }
  const AVFrame* f = frame_;
  ResamplerState& r = *resampler_state_;
  // Every layout and rate to the stereo 16-bit sound the device plays, mixed down with the
  // usual levels (centre and surround at -3 dB), a single channel on both sides.
  if (!r.context || r.format != f->format || r.rate != f->sample_rate ||
      av_channel_layout_compare(&r.layout, &f->ch_layout) != 0) {
    swr_free(&r.context);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    AVChannelLayout in{};
    if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || f->ch_layout.nb_channels <= 0) {
      av_channel_layout_default(&in, std::max(1, f->ch_layout.nb_channels));
    } else if (av_channel_layout_copy(&in, &f->ch_layout) < 0) {
      return Got::kFailed;
    }
    const int made = swr_alloc_set_opts2(&r.context, &stereo, AV_SAMPLE_FMT_S16, out_rate_, &in,
                                         static_cast<AVSampleFormat>(f->format), f->sample_rate, 0, nullptr);
    const bool mono = in.nb_channels == 1;
    av_channel_layout_uninit(&in);
    // A single channel plays at its own level on both sides, as a mono recording sounds.
    const double both[2] = {1.0, 1.0};
    if (made >= 0 && mono) swr_set_matrix(r.context, both, 1);
    if (made < 0 || swr_init(r.context) < 0) {
      swr_free(&r.context);
      return Got::kFailed;
    }
    av_channel_layout_uninit(&r.layout);
    av_channel_layout_copy(&r.layout, &f->ch_layout);
    r.format = f->format;
    r.rate = f->sample_rate;
  }
  const int room = swr_get_out_samples(r.context, f->nb_samples);
  if (room <= 0) {
    out.bytes.clear();
  } else {
    out.bytes.resize(static_cast<std::size_t>(room) * kSoundChannels * 2);
    std::uint8_t* planes[1] = {out.bytes.data()};
    const int made =
        swr_convert(r.context, planes, room, const_cast<const std::uint8_t**>(f->extended_data), f->nb_samples);
    out.bytes.resize(static_cast<std::size_t>(std::max(0, made)) * kSoundChannels * 2);
  }
  out.start_ms = std::max<std::int64_t>(0, ToMs(f->best_effort_timestamp, audio_));
  const int speed = tempo_.per_mille();
  out.speed = speed;
  if (speed != 1000) {
    // The filter holds some sound back and gives it later: the item's time of what comes out
    // counts on from where the speeded sound began.
    if (!tempo_started_) {
      tempo_started_ = true;
      tempo_start_ms_ = out.start_ms;
      tempo_out_frames_ = 0;
    }
    std::vector<std::uint8_t> sped;
    if (!tempo_.Process(out.bytes.data(), out.bytes.size(), sped)) return Got::kFailed;
    out.bytes = std::move(sped);
    out.start_ms = tempo_start_ms_ + tempo_out_frames_ * speed / std::max(1, out_rate_);
    tempo_out_frames_ += static_cast<std::int64_t>(out.bytes.size() / (kSoundChannels * 2));
  }
  out.length_ms = static_cast<std::int64_t>(out.bytes.size() / (kSoundChannels * 2)) * speed / std::max(1, out_rate_);
  return Got::kFrame;
}

void MediaReader::DropSound() {
  if (audio_ < 0) return;
  format_->streams[audio_]->discard = AVDISCARD_ALL;
  audio_stream_->Clear();
  audio_ = -1;
}

#include "media_player/win32/sound_tempo_win32.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
}

namespace {

constexpr int kChannels = 2, kBytesPerFrame = kChannels * 2;

}  // namespace

SoundTempo::~SoundTempo() { Free(); }

void SoundTempo::Free() {
  avfilter_graph_free(&graph_);  // frees the filters too
  source_ = sink_ = nullptr;
  av_frame_free(&frame_);
}

bool SoundTempo::Set(int per_mille, int rate) {
  Free();
  per_mille_ = std::clamp(per_mille, 500, 2000);
  rate_ = rate;
  if (per_mille_ == 1000 || rate <= 0) return true;
  graph_ = avfilter_graph_alloc();
  frame_ = av_frame_alloc();
  if (!graph_ || !frame_) return false;
  char source_args[160], tempo_args[32];
  std::snprintf(source_args, sizeof source_args, "time_base=1/%d:sample_rate=%d:sample_fmt=s16:channel_layout=stereo",
                rate, rate);
  std::snprintf(tempo_args, sizeof tempo_args, "tempo=%.3f", per_mille_ / 1000.0);
  AVFilterContext* tempo = nullptr;
  AVFilterContext* format = nullptr;
  // The sink is held to the source's format: atempo may work in another.
  const bool made =
      avfilter_graph_create_filter(&source_, avfilter_get_by_name("abuffer"), "in", source_args, nullptr, graph_) >=
          0 &&
      avfilter_graph_create_filter(&tempo, avfilter_get_by_name("atempo"), "tempo", tempo_args, nullptr, graph_) >= 0 &&
      avfilter_graph_create_filter(&format, avfilter_get_by_name("aformat"), "format",
                                   "sample_fmts=s16:channel_layouts=stereo", nullptr, graph_) >= 0 &&
      avfilter_graph_create_filter(&sink_, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr, graph_) >= 0 &&
      avfilter_link(source_, 0, tempo, 0) >= 0 && avfilter_link(tempo, 0, format, 0) >= 0 &&
      avfilter_link(format, 0, sink_, 0) >= 0 && avfilter_graph_config(graph_, nullptr) >= 0;
  if (!made) {
    Free();
    per_mille_ = 1000;
  }
  return made;
}

bool SoundTempo::Process(const std::uint8_t* in, std::size_t bytes, std::vector<std::uint8_t>& out) {
  if (!graph_) {
    out.insert(out.end(), in, in + bytes);
    return true;
  }
  const int samples = static_cast<int>(bytes / kBytesPerFrame);
  if (samples <= 0) return true;
  av_frame_unref(frame_);
  frame_->format = AV_SAMPLE_FMT_S16;
  frame_->sample_rate = rate_;
  frame_->nb_samples = samples;
  AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  if (av_channel_layout_copy(&frame_->ch_layout, &stereo) < 0 || av_frame_get_buffer(frame_, 0) < 0) return false;
  std::memcpy(frame_->data[0], in, static_cast<std::size_t>(samples) * kBytesPerFrame);
  if (av_buffersrc_add_frame(source_, frame_) < 0) return false;  // takes the frame's buffer
  for (;;) {
    av_frame_unref(frame_);
    const int got = av_buffersink_get_frame(sink_, frame_);
    if (got < 0) break;  // AVERROR(EAGAIN): it wants more first
    const std::size_t made = static_cast<std::size_t>(frame_->nb_samples) * kBytesPerFrame;
    out.insert(out.end(), frame_->data[0], frame_->data[0] + made);
  }
  av_frame_unref(frame_);
  return true;
}

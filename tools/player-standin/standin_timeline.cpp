#include "tools/player-standin/standin_timeline.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kIdle = 0, kStopped = 1, kPaused = 2, kPlaying = 3, kBuffering = 4, kEnded = 6, kConnecting = 10;

double NumberAt(std::u16string_view text) {
  std::string ascii;
  for (char16_t c : text) {
    if ((c >= u'0' && c <= u'9') || c == u'.') ascii += static_cast<char>(c);
    else break;
  }
  try {
    return ascii.empty() ? -1 : std::stod(ascii);
  } catch (...) {
    return -1;
  }
}

}  // namespace

StandinTiming ParseStandinTiming(std::u16string_view url) {
  StandinTiming timing;
  const auto at = url.find(u"standin=");
  if (at == std::u16string_view::npos) return timing;
  std::u16string_view rest = url.substr(at + 8);
  rest = rest.substr(0, rest.find_first_of(u"&# "));
  while (!rest.empty()) {
    const auto comma = rest.find(u',');
    const std::u16string_view pair = rest.substr(0, comma);
    const auto colon = pair.find(u':');
    if (colon != std::u16string_view::npos) {
      const std::u16string_view key = pair.substr(0, colon);
      const double value = NumberAt(pair.substr(colon + 1));
      if (value >= 0) {
        if (key == u"connect") timing.connect_ms = static_cast<long>(value);
        else if (key == u"buffer") timing.buffer_ms = static_cast<long>(value);
        else if (key == u"duration") timing.duration_s = std::max(1L, static_cast<long>(value));
        else if (key == u"download") timing.download_s = std::max(0L, static_cast<long>(value));
        else if (key == u"speed" && value > 0) timing.speed = value;
      }
    }
    if (comma == std::u16string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return timing;
}

void StandinTimeline::Load(std::u16string_view media_url) {
  timing_ = ParseStandinTiming(media_url);
  phase_ = Phase::kIdle;
  base_position_ = 0;
  download_started_ = -1;
}

void StandinTimeline::Play(Ms now) {
  if (download_started_ < 0) download_started_ = now;
  if (phase_ == Phase::kPaused) {
    // Resuming goes straight on from where it stopped.
    phase_ = Phase::kStarting;
    started_at_ = playing_from_ = now;
    return;
  }
  if (phase_ == Phase::kStarting && State(now) != kEnded) return;
  if (phase_ == Phase::kStarting) base_position_ = 0;
  phase_ = Phase::kStarting;
  started_at_ = now;
  playing_from_ = now + timing_.connect_ms + timing_.buffer_ms;
}

void StandinTimeline::Pause(Ms now) {
  if (phase_ != Phase::kStarting || State(now) != kPlaying) return;
  base_position_ = PlayedSeconds(now);
  phase_ = Phase::kPaused;
}

void StandinTimeline::Stop(Ms) {
  if (phase_ == Phase::kIdle) return;
  phase_ = Phase::kStopped;
  base_position_ = 0;
}

void StandinTimeline::Seek(long seconds, Ms now) {
  const double target = std::clamp<double>(seconds, 0, timing_.duration_s);
  if (phase_ == Phase::kStarting && now >= playing_from_) {
    base_position_ = target;
    playing_from_ = now;
  } else {
    base_position_ = target;
  }
}

double StandinTimeline::PlayedSeconds(Ms now) const {
  const double played = base_position_ + (now > playing_from_ ? (now - playing_from_) * timing_.speed / 1000.0 : 0.0);
  return std::min<double>(played, timing_.duration_s);
}

int StandinTimeline::State(Ms now) const {
  switch (phase_) {
    case Phase::kIdle: return kIdle;
    case Phase::kStopped: return kStopped;
    case Phase::kPaused: return kPaused;
    case Phase::kStarting: break;
  }
  if (now < started_at_ + timing_.connect_ms && playing_from_ > started_at_) return kConnecting;
  if (now < playing_from_) return kBuffering;
  return PlayedSeconds(now) >= timing_.duration_s ? kEnded : kPlaying;
}

long StandinTimeline::Position(Ms now) const {
  if (phase_ == Phase::kStarting) return static_cast<long>(PlayedSeconds(now));
  return static_cast<long>(base_position_);
}

long StandinTimeline::Duration(Ms now) const {
  if (phase_ == Phase::kIdle) return 0;
  if (phase_ == Phase::kStarting && State(now) == kConnecting) return 0;
  return timing_.duration_s;
}

long StandinTimeline::DownloadProgress(Ms now) const {
  if (download_started_ < 0) return 0;
  if (timing_.download_s <= 0) return 1000;
  const double share = static_cast<double>(now - download_started_) / (timing_.download_s * 1000.0);
  return static_cast<long>(std::clamp(share, 0.0, 1.0) * 1000);
}

long StandinTimeline::DownloadRate(Ms now) const {
  const int state = State(now);
  if (state == kIdle || state == kStopped || state == kConnecting || DownloadProgress(now) >= 1000) return 0;
  return timing_.download_rate;
}

long StandinTimeline::MediaRate(Ms now) const { return State(now) == kPlaying ? timing_.media_rate : 0; }

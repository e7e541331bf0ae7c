#pragma once
// How the stand-in player behaves over time, worked out from the clock at each question, so
// it needs no thread: after Play it connects, buffers, then plays in real time to the end,
// fetching the item meanwhile. Tests steer the timing through the media address:
//   ...?standin=connect:200,buffer:300,duration:5,download:2,speed:1
// (milliseconds for connect and buffer, seconds for duration and download).
#include <cstdint>
#include <string>
#include <string_view>

struct StandinTiming {
  long connect_ms = 1500;
  long buffer_ms = 1500;
  long duration_s = 120;
  long download_s = 30;      // time to fetch the whole item
  double speed = 1.0;        // playback seconds per real second
  long download_rate = 320;  // kilobytes per second while fetching
  long media_rate = 780;     // kilobits per second while playing
};

StandinTiming ParseStandinTiming(std::u16string_view media_url);

class StandinTimeline {
 public:
  using Ms = std::int64_t;

  void Load(std::u16string_view media_url);
  void Play(Ms now);
  void Pause(Ms now);
  void Stop(Ms now);
  void Seek(long seconds, Ms now);

  int State(Ms now) const;
  long Position(Ms now) const;
  long Duration(Ms now) const;
  long DownloadProgress(Ms now) const;
  long DownloadRate(Ms now) const;
  long MediaRate(Ms now) const;
  const StandinTiming& timing() const { return timing_; }

 private:
  enum class Phase { kIdle, kStarting, kPaused, kStopped };
  double PlayedSeconds(Ms now) const;

  StandinTiming timing_;
  Phase phase_ = Phase::kIdle;
  Ms started_at_ = 0;    // when Play began connecting
  Ms playing_from_ = 0;  // when the picture starts moving (after connect and buffer)
  double base_position_ = 0;
  Ms download_started_ = -1;
};

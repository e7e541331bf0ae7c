#pragma once
// Sound through waveOut: 16-bit PCM buffers queued to the default device, scaled to the
// control's volume on the way. Any thread may call it. Without a device it stays closed and
// the decoder leaves the sound out.
#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class WaveOutput {
 public:
  WaveOutput() = default;
  ~WaveOutput();
  WaveOutput(const WaveOutput&) = delete;
  WaveOutput& operator=(const WaveOutput&) = delete;

  bool Open(int channels, int samples_per_second);
  void Close();
  bool is_open();

  // Queues a buffer that starts at `start_ms` of the item; false when every slot is busy.
  // Buffers reach the device in blocks of a few decoder frames: each block costs a trip
  // through the system's sound thread, and a frame is only some 20 ms of sound.
  bool Queue(const std::uint8_t* data, std::size_t bytes, std::int64_t start_ms);
  // Hands what is gathered for the next block to the device (the item's sound has ended).
  void Flush();
  // How much sound is queued and not yet played, in milliseconds.
  std::int64_t QueuedMs();
  // Where in the item the device is playing now, or -1 before it has played anything.
  std::int64_t PlayingMs();
  void Pause();
  void Resume();
  void Reset();  // drops everything queued (a seek or a stop)

  // The sound queued from now on plays `per_mille` / 1000 of the item's time per second.
  void SetSpeed(int per_mille);
  void SetVolume(long volume, bool muted);
  // The loudest sample of the last buffer queued, after the volume.
  int last_peak() const { return last_peak_.load(); }
  // The pitch of the left channel of the last buffer queued, in Hz (0 for silence).
  int last_tone() const { return last_tone_.load(); }

 private:
  struct Slot {
    WAVEHDR header{};
    std::vector<std::uint8_t> bytes;
    std::int64_t start_ms = 0;
    bool queued = false;
  };
  void Reclaim();        // frees slots the device has finished
  bool WriteGathered();  // the gathered block to a free slot; false when none is free

  std::mutex mutex_;
  HWAVEOUT device_ = nullptr;
  int bytes_per_second_ = 0;
  std::array<Slot, 12> slots_;
  std::vector<std::uint8_t> gathered_;  // the next block, not yet at the device
  std::int64_t played_bytes_base_ = 0;  // device byte count where first_start_ms_ begins
  std::int64_t first_start_ms_ = -1;
  bool paused_ = true;
  long volume_ = 50;
  bool muted_ = false;
  std::atomic<int> last_peak_{0};
  std::atomic<int> last_tone_{0};
  int speed_ = 1000;
  int samples_per_second_ = 0;
};

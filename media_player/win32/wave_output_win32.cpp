#include "media_player/win32/wave_output_win32.h"

#include "media_player/core/pcm_volume.h"

WaveOutput::~WaveOutput() { Close(); }

bool WaveOutput::Open(int channels, int samples_per_second) {
  Close();
  const std::lock_guard lock(mutex_);
  if (channels <= 0 || channels > 8 || samples_per_second <= 0) return false;
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(channels);
  format.nSamplesPerSec = static_cast<DWORD>(samples_per_second);
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(channels * 2);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  if (waveOutOpen(&device_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    device_ = nullptr;
    return false;
  }
  bytes_per_second_ = static_cast<int>(format.nAvgBytesPerSec);
  samples_per_second_ = samples_per_second;
  // Nothing sounds until the clock runs.
  waveOutPause(device_);
  paused_ = true;
  first_start_ms_ = -1;
  played_bytes_base_ = 0;
  return true;
}

void WaveOutput::Close() {
  const std::lock_guard lock(mutex_);
  if (!device_) return;
  waveOutReset(device_);
  for (Slot& slot : slots_) {
    if (slot.header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device_, &slot.header, sizeof slot.header);
    slot.queued = false;
  }
  waveOutClose(device_);
  device_ = nullptr;
  gathered_.clear();
}

bool WaveOutput::is_open() {
  const std::lock_guard lock(mutex_);
  return device_ != nullptr;
}

void WaveOutput::Reclaim() {
  for (Slot& slot : slots_) {
    if (slot.queued && (slot.header.dwFlags & WHDR_DONE)) {
      waveOutUnprepareHeader(device_, &slot.header, sizeof slot.header);
      slot.queued = false;
    }
  }
}

namespace {
constexpr int kBlockMs = 80;
}  // namespace

bool WaveOutput::WriteGathered() {
  for (Slot& slot : slots_) {
    if (slot.queued) continue;
    slot.bytes.swap(gathered_);
    gathered_.clear();
    slot.header = WAVEHDR{};
    slot.header.lpData = reinterpret_cast<LPSTR>(slot.bytes.data());
    slot.header.dwBufferLength = static_cast<DWORD>(slot.bytes.size());
    if (waveOutPrepareHeader(device_, &slot.header, sizeof slot.header) != MMSYSERR_NOERROR) return false;
    if (waveOutWrite(device_, &slot.header, sizeof slot.header) != MMSYSERR_NOERROR) {
      waveOutUnprepareHeader(device_, &slot.header, sizeof slot.header);
      return false;
    }
    slot.queued = true;
    return true;
  }
  return false;
}

bool WaveOutput::Queue(const std::uint8_t* data, std::size_t bytes, std::int64_t start_ms) {
  const std::lock_guard lock(mutex_);
  if (!device_ || bytes == 0) return device_ != nullptr;
  Reclaim();
  const std::size_t block = static_cast<std::size_t>(bytes_per_second_) * kBlockMs / 1000;
  // A full block that finds no free slot takes nothing more: the caller holds on to it.
  if (gathered_.size() >= block && !WriteGathered()) return false;
  const std::size_t from = gathered_.size();
  gathered_.insert(gathered_.end(), data, data + bytes);
  auto* samples = reinterpret_cast<std::int16_t*>(gathered_.data() + from);
  const std::size_t count = bytes / 2;
  last_tone_ = ToneOfPcm16(samples, count, bytes_per_second_ / samples_per_second_ / 2, samples_per_second_);
  last_peak_ = ScalePcm16(samples, count, volume_, muted_);
  if (first_start_ms_ < 0) first_start_ms_ = start_ms;
  if (gathered_.size() >= block) WriteGathered();  // else it goes with the next buffer
  return true;
}

void WaveOutput::Flush() {
  const std::lock_guard lock(mutex_);
  if (!device_ || gathered_.empty()) return;
  Reclaim();
  WriteGathered();
}

std::int64_t WaveOutput::QueuedMs() {
  const std::lock_guard lock(mutex_);
  if (!device_ || bytes_per_second_ <= 0) return 0;
  Reclaim();
  auto bytes = static_cast<std::int64_t>(gathered_.size());
  for (const Slot& slot : slots_) {
    if (slot.queued) bytes += slot.header.dwBufferLength;
  }
  return bytes * 1000 / bytes_per_second_;
}

std::int64_t WaveOutput::PlayingMs() {
  const std::lock_guard lock(mutex_);
  if (!device_ || first_start_ms_ < 0 || bytes_per_second_ <= 0) return -1;
  MMTIME time{};
  time.wType = TIME_BYTES;
  if (waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_BYTES) return -1;
  return first_start_ms_ + (static_cast<std::int64_t>(time.u.cb) - played_bytes_base_) * speed_ / bytes_per_second_;
}

void WaveOutput::Pause() {
  const std::lock_guard lock(mutex_);
  if (device_ && !paused_) waveOutPause(device_);
  paused_ = true;
}

void WaveOutput::Resume() {
  const std::lock_guard lock(mutex_);
  if (device_ && paused_) waveOutRestart(device_);
  paused_ = false;
}

void WaveOutput::Reset() {
  const std::lock_guard lock(mutex_);
  if (!device_) return;
  waveOutReset(device_);
  Reclaim();
  for (Slot& slot : slots_) {
    if (slot.queued) {
      waveOutUnprepareHeader(device_, &slot.header, sizeof slot.header);
      slot.queued = false;
    }
  }
  gathered_.clear();
  // A reset leaves the device playing; it waits again for the clock.
  waveOutPause(device_);
  paused_ = true;
  first_start_ms_ = -1;
  played_bytes_base_ = 0;
}

void WaveOutput::SetSpeed(int per_mille) {
  const std::lock_guard lock(mutex_);
  speed_ = per_mille > 0 ? per_mille : 1000;
}

void WaveOutput::SetVolume(long volume, bool muted) {
  const std::lock_guard lock(mutex_);
  volume_ = volume;
  muted_ = muted;
}

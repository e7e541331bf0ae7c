// The product's own player control at work: for local clips from 640x480 to 3840x2160 (H.264,
// and HEVC 10-bit at 1080p), the time from Play to the first picture, the process's CPU time
// per second of playback (decoding, conversion and drawing together), the pictures dropped
// for being late, and its memory while playing; the same first-picture time for an http clip
// from the content site. Run through scripts/bench-media-player.sh, which sets ffmpeg's
// figures beside these.
#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <filesystem>
#include <fstream>
#include <iterator>
#include "bench/median.h"
#include "common/win32/com.h"
#include "media_player/media_player_class.h"
#include "play/win32/player_host_win32.h"
#include "tests/win/site_client.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

double CpuSeconds() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

struct Run {
  double first_picture_ms = -1;
  double cpu_ms_per_second = 0;
  double private_mib = 0;
  double working_set_mib = 0;
  long dropped = 0;
};

// The pictures the control dropped, from the last line of its log that counts them.
long DroppedIn(const std::wstring& log) {
  std::ifstream in{std::filesystem::path(log)};
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  const auto at = text.rfind("Dropped ");
  return at == std::string::npos ? 0 : std::atol(text.c_str() + at + 8);
}

Run PlayOnce(HWND window, const std::wstring& url, int width, int height) {
  Run run;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring log = std::wstring(temp) + L"vexo-media-bench.log";
  DeleteFileW(log.c_str());
  SetEnvironmentVariableW(L"VEXO_PLAYER_LOG", log.c_str());
  auto player = Win32PlayerHost::Create(window, RECT{0, 0, width, height}, kMediaPlayerClass);
  if (!player) return run;
  player->SetMediaUrl(std::u16string(url.begin(), url.end()));
  const auto asked = Clock::now();
  player->Play();
  while (player->PlayState() != player::kPlaying && Clock::now() - asked < 20s) {
    Pump();
    std::this_thread::sleep_for(1ms);
  }
  if (player->PlayState() != player::kPlaying) return run;
  run.first_picture_ms = std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
  // The CPU of the whole process over the playing seconds, the picture drawn at its size.
  const double cpu_before = CpuSeconds();
  const auto from = Clock::now();
  // The private commit (PagefileUsage) at its highest while playing.
  PROCESS_MEMORY_COUNTERS memory{sizeof memory};
  while (player->PlayState() == player::kPlaying && Clock::now() - from < 30s) {
    Pump();
    std::this_thread::sleep_for(5ms);
    PROCESS_MEMORY_COUNTERS now{sizeof now};
    if (GetProcessMemoryInfo(GetCurrentProcess(), &now, sizeof now) && now.PagefileUsage > memory.PagefileUsage) {
      memory = now;
    }
  }
  const double played = std::chrono::duration<double>(Clock::now() - from).count();
  run.cpu_ms_per_second = (CpuSeconds() - cpu_before) * 1000 / played;
  run.private_mib = memory.PagefileUsage / 1048576.0;
  run.working_set_mib = memory.WorkingSetSize / 1048576.0;
  player.reset();
  run.dropped = DroppedIn(log);
  return run;
}

void Report(const char* what, HWND window, const std::wstring& url, int width, int height, int times) {
  std::vector<double> first, cpu, private_mib, working, dropped;
  for (int i = 0; i < times; ++i) {
    const Run run = PlayOnce(window, url, width, height);
    if (run.first_picture_ms < 0) {
      std::printf("%-26s did not play\n", what);
      return;
    }
    first.push_back(run.first_picture_ms);
    cpu.push_back(run.cpu_ms_per_second);
    private_mib.push_back(run.private_mib);
    working.push_back(run.working_set_mib);
    dropped.push_back(static_cast<double>(run.dropped));
  }
  std::printf(
      "%-26s first picture %7.1f ms   CPU %6.1f ms/s   dropped %4.0f   private %6.1f MiB   working set %6.1f MiB\n",
      what, Median(first), Median(cpu), Median(dropped), Median(private_mib), Median(working));
}

// What Wine's sound output alone costs: silence played through waveOut for five seconds, in
// the blocks the control hands over, as CPU per second. The control pays it on top of its
// decoding; ffmpeg's figures below have no sound device.
double SoundFloorMsPerSecond() {
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 48000, 48000 * 4, 4, 16, 0};
  HWAVEOUT device = nullptr;
  if (waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return -1;
  constexpr int kBlocks = 8;
  std::vector<std::vector<char>> blocks(kBlocks, std::vector<char>(48000 * 4 * 80 / 1000));
  std::vector<WAVEHDR> headers(kBlocks);
  const double cpu_before = CpuSeconds();
  const auto from = Clock::now();
  while (Clock::now() - from < 5s) {
    for (int i = 0; i < kBlocks; ++i) {
      WAVEHDR& header = headers[i];
      if (header.dwFlags & WHDR_PREPARED) {
        if (!(header.dwFlags & WHDR_DONE)) continue;
        waveOutUnprepareHeader(device, &header, sizeof header);
      }
      header = WAVEHDR{};
      header.lpData = blocks[i].data();
      header.dwBufferLength = static_cast<DWORD>(blocks[i].size());
      waveOutPrepareHeader(device, &header, sizeof header);
      waveOutWrite(device, &header, sizeof header);
    }
    std::this_thread::sleep_for(20ms);
  }
  const double played = std::chrono::duration<double>(Clock::now() - from).count();
  const double cpu = (CpuSeconds() - cpu_before) * 1000 / played;
  waveOutReset(device);
  for (WAVEHDR& header : headers) {
    if (header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device, &header, sizeof header);
  }
  waveOutClose(device);
  return cpu;
}

}  // namespace

int main() {
  const ComApartment com;
  const char* clips = std::getenv("VEXO_TEST_CLIPS");
  if (!clips) {
    std::printf("VEXO_TEST_CLIPS names no clip folder\n");
    return 1;
  }
  const std::string folder(clips);
  const std::wstring local(folder.begin(), folder.end());
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = L"MediaPlayerBench";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, L"MediaPlayerBench", L"bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1280,
                                720, nullptr, nullptr, nullptr, nullptr);
  std::printf("Wine's sound output alone (silence, 48 kHz stereo): CPU %6.1f ms/s\n", SoundFloorMsPerSecond());
  Report("local 640x480", window, local + L"\\clip-640x480.mp4", 640, 480, 3);
  Report("local 1280x720", window, local + L"\\clip-1280x720.mp4", 1280, 720, 3);
  // The big ones drawn in a window of 1280 x 720, as play.exe maximised or full screen shows them.
  Report("local 1920x1080", window, local + L"\\clip-1920x1080.mp4", 1280, 720, 3);
  Report("local 1920x1080 HEVC 10", window, local + L"\\clip-1920x1080-hevc10.mkv", 1280, 720, 3);
  Report("local 3840x2160", window, local + L"\\clip-3840x2160.mp4", 1280, 720, 3);
  const SiteClient site;
  for (int i = 0; i < 3; ++i) {
    // A new address each time, so that nothing comes from the cache.
    const std::string url = site.Url("/media/clip-640x480.mp4?run=" + std::to_string(i));
    Report("http 640x480 (uncached)", window, std::wstring(url.begin(), url.end()), 640, 480, 1);
  }
  DestroyWindow(window);
  return 0;
}

// The product's own player control at work: for local clips of 640x480 and 1280x720, the time
// from Play to the first picture, the process's CPU time per second of playback (decoding,
// our conversion and drawing together) and its memory while playing; the same first-picture
// time for an http clip from the content site; and our conversion alone per frame. Run
// through scripts/bench-media-player.sh, which sets ffmpeg's figures beside these.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/median.h"
#include "common/win32/com.h"
#include "media_player/core/picture.h"
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
};

Run PlayOnce(HWND window, const std::wstring& url, int width, int height) {
  Run run;
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
  return run;
}

void Report(const char* what, HWND window, const std::wstring& url, int width, int height, int times) {
  std::vector<double> first, cpu, private_mib, working;
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
  }
  std::printf("%-26s first picture %7.1f ms   CPU %6.1f ms/s   private %6.1f MiB   working set %6.1f MiB\n", what,
              Median(first), Median(cpu), Median(private_mib), Median(working));
}

void ReportConversion(int width, int height) {
  std::vector<std::uint8_t> y(width * height), u(width * height / 4), v(width * height / 4);
  for (size_t i = 0; i < y.size(); ++i) y[i] = static_cast<std::uint8_t>(i * 7);
  for (size_t i = 0; i < u.size(); ++i)
    u[i] = static_cast<std::uint8_t>(i * 3), v[i] = static_cast<std::uint8_t>(i * 5);
  std::vector<std::uint32_t> out(width * height);
  const YuvTables tables;
  const int frames = 200;
  const auto start = Clock::now();
  for (int i = 0; i < frames; ++i) {
    tables.Convert(y.data(), width, u.data(), v.data(), width / 2, 1, width, height, out.data(), width);
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / frames;
  std::printf("conversion %4dx%-4d        %.2f ms a frame (%.1f ms a second at 25 frames)\n", width, height, ms,
              ms * 25);
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
  ReportConversion(640, 480);
  ReportConversion(1280, 720);
  Report("local 640x480", window, local + L"\\clip-640x480.mp4", 640, 480, 3);
  Report("local 1280x720", window, local + L"\\clip-1280x720.mp4", 1280, 720, 3);
  const SiteClient site;
  for (int i = 0; i < 3; ++i) {
    // A new address each time, so that nothing comes from the cache.
    const std::string url = site.Url("/media/clip-640x480.mp4?run=" + std::to_string(i));
    Report("http 640x480 (uncached)", window, std::wstring(url.begin(), url.end()), 640, 480, 1);
  }
  DestroyWindow(window);
  return 0;
}

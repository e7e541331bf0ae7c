// play.exe from its start to its window shown and idle, against a trivial Win32 program
// started and ended in the same run, and play.exe's private memory once idle.
// Run through scripts/bench-play-start.sh (the stand-in player must be registered).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "bench/median.h"
#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

}  // namespace

int main() {
  constexpr int kRuns = 5;
  const std::wstring programs = TestProgramFolder();
  std::vector<double> trivial, play;
  double private_mib = 0;
  double working_set_mib = 0;
  for (int run = 0; run < kRuns; ++run) {
    {
      const auto t0 = Clock::now();
      ChildProcess yardstick(programs + L"\\trivial_program.exe", L"", programs);
      yardstick.WaitExit(30s);
      trivial.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    TestFolder folder;
    std::filesystem::copy_file(std::filesystem::path(programs) / "play.exe", folder.path() / "play.exe");
    const auto t0 = Clock::now();
    ChildProcess app((folder.path() / "play.exe").wstring(), L"", folder.path().wstring(),
                     {{L"PLAY_CONTENT_BASE", L"http://127.0.0.1:9/soft/"}});
    HWND main = app.WaitWindow(L"VexoPlayMainWindow", 60s);
    while (main && IsWindow(main) && !IsWindowVisible(main)) std::this_thread::sleep_for(1ms);
    WaitForInputIdle(app.handle(), 10000);
    play.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    std::this_thread::sleep_for(1s);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    if (GetProcessMemoryInfo(app.handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
      // Wine leaves PrivateUsage at 0; the page-file usage is the same private commit charge.
      private_mib = (memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1048576.0;
      working_set_mib = memory.WorkingSetSize / 1048576.0;
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    app.WaitExit(15s);
  }
  std::printf("trivial program start to end: %.0f ms (median of %d)\n", Median(trivial), kRuns);
  std::printf("play.exe start to window shown and idle: %.0f ms (median of %d)\n", Median(play), kRuns);
  std::printf("ratio: %.2f\n", Median(play) / Median(trivial));
  std::printf("play.exe private memory once idle: %.1f MiB (working set %.1f MiB)\n", private_mib, working_set_mib);
  return 0;
}

// What a user waits for when starting play.exe, against the floor of this system: a trivial
// GUI program that creates a window of the same size and ends at its first paint, started in
// the same run. Three figures per start: the window shown and idle, the catalogue's links
// listed in Web1 (content site on loopback), and the first playing tick after a catalogue
// click (the stand-in player set to start at once), for the first start in a new folder; then
// the next start in the same folder (settings and lists in place, as on most starts), to the
// window and the catalogue. Also play.exe's private memory once idle.
// Run through scripts/bench-play-start.sh; arguments name other play.exe builds to measure
// beside this one.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/median.h"
#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"
#include "tests/win/drawn_controls.h"

namespace {

// The control bar's "播放中": drawn on the window, or (in builds before the drawn controls,
// which the benchmark can measure too) a child window's text.
bool ShowsPlaying(HWND main) {
  if (!DrawnControlText(main, L"播放中").empty()) return true;
  bool found = false;
  EnumChildWindows(
      main,
      [](HWND hwnd, LPARAM data) -> BOOL {
        wchar_t text[64] = {};
        GetWindowTextW(hwnd, text, 64);
        if (wcsncmp(text, L"播放中", 3) != 0) return TRUE;
        *reinterpret_cast<bool*>(data) = true;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Polls `done` every millisecond for up to `limit`; false when it never held.
template <typename Condition>
bool PollUntil(Condition done, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(1ms);
  }
  return false;
}

struct Figures {
  std::vector<double> shown, listed, playing;
  std::vector<double> again_shown, again_listed;  // the next start in the same folder
  double private_mib = 0, working_set_mib = 0;
};

void MeasureFloor(const std::wstring& programs, std::vector<double>& floors) {
  const auto t0 = Clock::now();
  ChildProcess floor(programs + L"\\trivial_window.exe", L"", programs);
  floor.WaitExit(30s);
  floors.push_back(MsSince(t0));
}

// A start in `folder`: the first one there (no settings or lists yet) measures all three
// figures and the memory (unless `clicks` is false); a later one the window and the catalogue.
bool MeasurePlay(const TestFolder& folder, const std::wstring& base, bool first, bool clicks, Figures& figures) {
  const auto t0 = Clock::now();
  ChildProcess app((folder.path() / "play.exe").wstring(), L"", folder.path().wstring(),
                   {{L"PLAY_CONTENT_BASE", base}});
  HWND main = app.WaitWindow(L"VexoPlayMainWindow", 60s);
  if (!main || !PollUntil([&] { return IsWindowVisible(main) != FALSE; }, 30s)) return false;
  WaitForInputIdle(app.handle(), 10000);
  (first ? figures.shown : figures.again_shown).push_back(MsSince(t0));

  HWND list = nullptr;
  const bool listed = PollUntil(
      [&] {
        list = FindPaneList(main, L"Web1");
        return list && SendMessageW(list, LB_GETCOUNT, 0, 0) > 0;
      },
      30s);
  if (!listed) return false;
  (first ? figures.listed : figures.again_listed).push_back(MsSince(t0));
  if (!first || !clicks) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    return app.WaitExit(15s) == std::optional<DWORD>(0);
  }

  const auto click = Clock::now();
  ClickListRow(list, 0);  // a film
  if (!PollUntil([&] { return ShowsPlaying(main); }, 30s)) return false;
  figures.playing.push_back(MsSince(click));

  PROCESS_MEMORY_COUNTERS_EX memory{};
  if (GetProcessMemoryInfo(app.handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    // Wine leaves PrivateUsage at 0; the page-file usage is the same private commit charge.
    figures.private_mib = (memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1048576.0;
    figures.working_set_mib = memory.WorkingSetSize / 1048576.0;
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  app.WaitExit(15s);
  return true;
}

void Report(const Figures& figures, double floor, bool clicked) {
  std::printf("  first start in a new folder, window shown and idle: %.0f ms = %.2f x floor\n", Median(figures.shown),
              Median(figures.shown) / floor);
  std::printf("  first start, catalogue listed in Web1: %.0f ms = %.2f x floor\n", Median(figures.listed),
              Median(figures.listed) / floor);
  std::printf(
      "  the next start in the same folder: window shown and idle %.0f ms = %.2f x floor, catalogue listed %.0f "
      "ms = %.2f x floor\n",
      Median(figures.again_shown), Median(figures.again_shown) / floor, Median(figures.again_listed),
      Median(figures.again_listed) / floor);
  if (!clicked) return;
  std::printf("  catalogue click to the first playing tick: %.0f ms (Timer1 ticks once a second)\n",
              Median(figures.playing));
  std::printf("  private memory once playing: %.1f MiB (working set %.1f MiB)\n", figures.private_mib,
              figures.working_set_mib);
}

}  // namespace

// This build's play.exe, and each other play.exe the arguments name, started in turn in every
// run: on a machine whose speed drifts, builds measured side by side compare fairly. With
// "--own-player" first, the stand-in for the maker's control is not installed and play.exe
// starts with our own control, as users have it: the window and the catalogue are measured,
// not the stand-in's playing.
int wmain(int argc, wchar_t** argv) {
  constexpr int kRuns = 7;
  const std::wstring programs = TestProgramFolder();
  std::vector<std::filesystem::path> plays{std::filesystem::path(programs) / "play.exe"};
  const bool own_player = argc > 1 && std::wstring(argv[1]) == L"--own-player";
  for (int i = own_player ? 2 : 1; i < argc; ++i) plays.emplace_back(argv[i]);
  wchar_t port[16] = {};
  if (!GetEnvironmentVariableW(L"VEXO_SITE_PORT", port, 16)) {
    std::printf("VEXO_SITE_PORT is not set: run through scripts/bench-play-start.sh\n");
    return 2;
  }
  const std::wstring base = L"http://127.0.0.1:" + std::wstring(port) + L"/soft/";
  std::vector<double> floors;
  std::vector<Figures> figures(plays.size());
  for (int run = 0; run < kRuns; ++run) {
    MeasureFloor(programs, floors);
    for (std::size_t i = 0; i < plays.size(); ++i) {
      TestFolder folder;
      std::filesystem::copy_file(plays[i], folder.path() / "play.exe");
      if (!MeasurePlay(folder, base, true, !own_player, figures[i]) ||
          !MeasurePlay(folder, base, false, !own_player, figures[i])) {
        std::printf("run %d: %ls did not get there\n", run + 1, plays[i].c_str());
        return 1;
      }
    }
  }
  const double floor = Median(floors);
  std::printf("GUI floor (a 904 x 565 window, start to first paint): %.0f ms (median of %d)\n", floor, kRuns);
  for (std::size_t i = 0; i < plays.size(); ++i) {
    std::printf("%ls%ls:\n", i == 0 ? L"this build's play.exe" : plays[i].c_str(),
                own_player ? L", with our own player control" : L"");
    Report(figures[i], floor, !own_player);
    if (i == 0) continue;
    // Each run's pair started within a second of each other: the ratio of the pair is steadier
    // than the ratio of the medians when the machine's speed drifts between runs.
    std::vector<double> first, again;
    for (int run = 0; run < kRuns; ++run) {
      first.push_back(figures[i].shown[run] / figures[0].shown[run]);
      again.push_back(figures[i].again_shown[run] / figures[0].again_shown[run]);
    }
    std::printf("  against this build, run by run (median): first start %.2f x, next start %.2f x\n", Median(first),
                Median(again));
  }
  return 0;
}

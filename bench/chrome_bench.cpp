// The cost of play.exe's skinned frame: one full repaint of the normal window at 904 x 565 and
// at 1920 x 1080 (the frame alone, and the frame with every child), and a live border drag of
// 20 resize steps, each laid out, shaped and painted before the next. play.exe runs against
// the content site with its catalogue listed; the window is driven from this process, and
// every step returns only once play.exe has handled it. The same drag of a window that only
// fills itself at each paint is the floor. Run through scripts/bench-chrome.sh; arguments name
// other builds' play.exe to measure after this one.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/median.h"
#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Resize(HWND main, int width, int height) {
  SetWindowPos(main, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The median time of a repaint of the whole window surface, with or without its children.
double Repaint(HWND main, bool children) {
  std::vector<double> times;
  const UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | (children ? RDW_ALLCHILDREN : RDW_NOCHILDREN);
  for (int i = 0; i < 40; ++i) {
    const auto t0 = Clock::now();
    RedrawWindow(main, nullptr, nullptr, flags);
    times.push_back(MsSince(t0));
  }
  return Median(times);
}

struct Drag {
  double total = 0, step = 0, layout = 0;
};

// A live border drag: 20 resize steps from 904 x 565, each laid out and painted before the next,
// framed as the system's move and size loop frames them.
Drag BorderDrag(HWND window) {
  Resize(window, 904, 565);
  std::this_thread::sleep_for(300ms);
  std::vector<double> steps, layouts;
  SendMessageW(window, WM_ENTERSIZEMOVE, 0, 0);
  const auto drag = Clock::now();
  for (int step = 1; step <= 20; ++step) {
    const auto t0 = Clock::now();
    // The size change returns once the window's program has laid it out; the paint follows.
    SetWindowPos(window, nullptr, 0, 0, 904 + 24 * step, 565 + 14 * step, SWP_NOZORDER | SWP_NOACTIVATE);
    layouts.push_back(MsSince(t0));
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    steps.push_back(MsSince(t0));
  }
  const Drag done{MsSince(drag), Median(steps), Median(layouts)};
  SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
  return done;
}

// One play.exe's drag, and its repaints when asked, printed; false when it did not list its
// catalogue.
bool MeasurePlay(const std::filesystem::path& play, const std::wstring& base, bool repaints, Drag& drag) {
  TestFolder folder;
  std::filesystem::copy_file(play, folder.path() / "play.exe");
  ChildProcess app((folder.path() / "play.exe").wstring(), L"", folder.path().wstring(),
                   {{L"PLAY_CONTENT_BASE", base}});
  HWND main = app.WaitWindow(L"VexoPlayMainWindow", 60s);
  HWND list = nullptr;
  for (int i = 0; main && i < 600 && !(list && SendMessageW(list, LB_GETCOUNT, 0, 0) > 0); ++i) {
    list = FindPaneList(main, L"Web1");
    std::this_thread::sleep_for(50ms);
  }
  if (!list) {
    std::printf("%ls did not list its catalogue\n", play.c_str());
    return false;
  }
  std::this_thread::sleep_for(1s);

  for (const SIZE size : repaints ? std::vector<SIZE>{{904, 565}, {1920, 1080}} : std::vector<SIZE>{}) {
    Resize(main, size.cx, size.cy);
    std::this_thread::sleep_for(300ms);
    const double frame = Repaint(main, false);
    const double whole = Repaint(main, true);
    std::printf("  repaint at %ld x %ld: frame %.2f ms, frame and children %.2f ms (median of 40)\n", size.cx, size.cy,
                frame, whole);
  }

  drag = BorderDrag(main);
  PostMessageW(main, WM_CLOSE, 0, 0);
  app.WaitExit(15s);
  std::printf(
      "  live border drag, 20 steps from 904 x 565 to 1384 x 845: %.1f ms in all, %.2f ms a step (median; layout "
      "%.2f ms of it)\n",
      drag.total, drag.step, drag.layout);
  return true;
}

}  // namespace

// This build's play.exe, then each other play.exe the arguments name.
int wmain(int argc, wchar_t** argv) {
  wchar_t port[16] = {};
  if (!GetEnvironmentVariableW(L"VEXO_SITE_PORT", port, 16)) {
    std::printf("VEXO_SITE_PORT is not set: run through scripts/bench-chrome.sh\n");
    return 2;
  }
  const std::wstring base = L"http://127.0.0.1:" + std::wstring(port) + L"/soft/";
  std::vector<std::filesystem::path> plays{std::filesystem::path(TestProgramFolder()) / "play.exe"};
  for (int i = 1; i < argc; ++i) plays.emplace_back(argv[i]);
  // Beside other builds, the builds take turns for three rounds, so that a machine whose speed
  // drifts slows them alike; each build's figure is the median of its rounds.
  const int rounds = plays.size() > 1 ? 3 : 1;
  std::vector<std::vector<double>> steps(plays.size());
  std::vector<Drag> drags(plays.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < plays.size(); ++i) {
      std::printf("%ls, round %d:\n", i == 0 ? L"this build's play.exe" : plays[i].c_str(), round + 1);
      if (!MeasurePlay(plays[i], base, round == 0, drags[i])) return 1;
      steps[i].push_back(drags[i].step);
    }
  }
  for (std::size_t i = 0; i < plays.size(); ++i) drags[i].step = Median(steps[i]);

  // The floor: the same drag on a window that only fills its surface at each paint.
  ChildProcess trivial((std::filesystem::path(TestProgramFolder()) / "trivial_window.exe").wstring(), L"stay",
                       TestProgramFolder());
  const HWND floor_window = trivial.WaitWindow(L"VexoTrivialWindow", 30s);
  if (!floor_window) {
    std::printf("the floor's window did not show\n");
    return 1;
  }
  const Drag floor = BorderDrag(floor_window);
  PostMessageW(floor_window, WM_CLOSE, 0, 0);
  trivial.WaitExit(15s);
  std::printf("the same drag of a window that only fills itself: %.2f ms a step (layout %.2f) = floor\n", floor.step,
              floor.layout);
  for (std::size_t i = 0; i < plays.size(); ++i) {
    std::printf("%ls: %.2f ms a step (median of %d rounds), %.2f x floor\n",
                i == 0 ? L"this build's play.exe" : plays[i].c_str(), drags[i].step, rounds,
                drags[i].step / floor.step);
  }
  return 0;
}

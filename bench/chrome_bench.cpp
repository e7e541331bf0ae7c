// The cost of play.exe's skinned frame: one full repaint of the normal window at 904 x 565 and
// at 1920 x 1080 (the frame alone, and the frame with every child), and a live border drag of
// 20 resize steps, each laid out, shaped and painted before the next. play.exe runs against
// the content site with its catalogue listed. The drag is made twice: driven from this
// process, every step returning only once play.exe has handled it, and with the mouse, as a
// user drags, timed inside play.exe's thread by the drag probe. The same drags of a window
// that only fills itself at each paint are the floors. Run through scripts/bench-chrome.sh;
// arguments name other builds' play.exe to measure after this one.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/drag_probe.h"
#include "bench/median.h"
#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"
#include "tests/win/real_input.h"

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

// The drag probe in a window's thread, and what it has noted.
class DragProbe {
 public:
  explicit DragProbe(HWND window) {
    mapping_ =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DragProbeLog), kDragProbeMapping);
    log_ = mapping_ ? static_cast<DragProbeLog*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(DragProbeLog)))
                    : nullptr;
    const HMODULE module = LoadLibraryW((std::filesystem::path(TestProgramFolder()) / "drag_probe.dll").c_str());
    const auto hook =
        module ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, "DragProbeHook"))) : nullptr;
    if (log_ && hook) hook_ = SetWindowsHookExW(WH_GETMESSAGE, hook, module, GetWindowThreadProcessId(window, nullptr));
  }
  ~DragProbe() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (log_) UnmapViewOfFile(log_);
    if (mapping_) CloseHandle(mapping_);
  }
  DragProbe(const DragProbe&) = delete;
  DragProbe& operator=(const DragProbe&) = delete;

  bool ready() const { return hook_ != nullptr; }
  LONG count() const { return std::min<LONG>(LONG{log_->count}, DragProbeLog::kCapacity); }

  struct Step {
    double ms = 0;  // from the pointer's move to the end of the step's last paint
    int paints = 0;
  };
  // Waits until the thread has taken a pointer move noted from `first` on, has painted since
  // and has then been quiet for a while; the step is timed from `start` (a performance count).
  Step WaitStep(LONG first, LONGLONG start) const {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const auto limit = Clock::now() + 2s;
    LONG seen = -1;
    auto quiet_since = Clock::now();
    while (Clock::now() < limit) {
      const LONG now = count();
      if (now != seen) {
        seen = now;
        quiet_since = Clock::now();
      } else if (Clock::now() - quiet_since > 30ms && PaintedAfterMove(first, now)) {
        break;
      }
      std::this_thread::sleep_for(4ms);
    }
    Step step;
    for (LONG i = first; i < seen; ++i) {
      if (log_->events[i].kind == DragProbeLog::kPaint) ++step.paints;
      step.ms = 1000.0 * static_cast<double>(log_->events[i].at - start) / static_cast<double>(frequency.QuadPart);
    }
    return step;
  }

 private:
  // A pointer move, then the end of a paint, and no paint begun after it.
  bool PaintedAfterMove(LONG first, LONG end) const {
    bool moved = false, painted = false;
    for (LONG i = first; i < end; ++i) {
      const LONG kind = log_->events[i].kind;
      if (kind == DragProbeLog::kMove) moved = true;
      if (moved) painted = kind == DragProbeLog::kPaintEnd || (painted && kind == DragProbeLog::kMove);
    }
    return painted;
  }

  HANDLE mapping_ = nullptr;
  DragProbeLog* log_ = nullptr;
  HHOOK hook_ = nullptr;
};

struct MouseDragResult {
  double total = 0, step = 0, paints = 0;
};

// The same drag with the mouse, as a user makes it: the left button pressed on the window's
// bottom-right corner and the pointer moved 20 times, with the contents shown while dragging
// (as Windows does by default). The system's size loop runs in the window's own thread; the
// drag probe times each step there, from the pointer's move to the end of the step's last
// paint. Zero steps when the window did not follow the pointer.
MouseDragResult MouseDrag(HWND window) {
  SetWindowPos(window, nullptr, 0, 0, 904, 565, SWP_NOZORDER | SWP_NOACTIVATE);
  FocusWindow(window);
  std::this_thread::sleep_for(300ms);
  DragProbe probe(window);
  if (!probe.ready()) {
    std::printf("  the drag probe could not be put into the window's thread\n");
    return {};
  }
  RECT r = WindowRect(window);
  const POINT corner{r.right - 2, r.bottom - 2};
  MoveMouseToScreen(corner);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  std::this_thread::sleep_for(200ms);
  std::vector<double> steps, paints;
  double total = 0;
  for (int step = 1; step <= 20; ++step) {
    const LONG first = probe.count();
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    SendPointerMove(POINT{corner.x + 24 * step, corner.y + 14 * step});
    const DragProbe::Step done = probe.WaitStep(first, start.QuadPart);
    steps.push_back(done.ms);
    paints.push_back(done.paints);
    total += done.ms;
  }
  SendMouseButton(MOUSEEVENTF_LEFTUP);
  std::this_thread::sleep_for(300ms);
  r = WindowRect(window);
  if (r.right - r.left != 904 + 24 * 20 || r.bottom - r.top != 565 + 14 * 20) return {};
  return {total, Median(steps), Median(paints)};
}

// One play.exe's drag, and its repaints when asked, printed; false when it did not list its
// catalogue.
bool MeasurePlay(const std::filesystem::path& play, const std::wstring& base, bool repaints, Drag& drag,
                 MouseDragResult& mouse) {
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
  mouse = MouseDrag(main);
  PostMessageW(main, WM_CLOSE, 0, 0);
  app.WaitExit(15s);
  std::printf(
      "  live border drag, 20 steps from 904 x 565 to 1384 x 845: %.1f ms in all, %.2f ms a step (median; layout "
      "%.2f ms of it)\n",
      drag.total, drag.step, drag.layout);
  if (mouse.step == 0) {
    std::printf("  the window did not follow the mouse's drag\n");
    return false;
  }
  std::printf("  the same drag with the mouse: %.1f ms in all, %.2f ms a step (median; %.0f paints a step)\n",
              mouse.total, mouse.step, mouse.paints);
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
  // Windows shows a window's contents while it is dragged, unless the user turned that off;
  // Wine's default is the outline. The user's setting is put back at the end.
  BOOL full_drag = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full_drag, 0);
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, SPIF_UPDATEINIFILE);
  struct Restore {
    BOOL value;
    ~Restore() { SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, value, nullptr, SPIF_UPDATEINIFILE); }
  } restore{full_drag};
  std::vector<std::filesystem::path> plays{std::filesystem::path(TestProgramFolder()) / "play.exe"};
  for (int i = 1; i < argc; ++i) plays.emplace_back(argv[i]);
  // Beside other builds, the builds take turns for five rounds, so that a machine whose speed
  // drifts slows them alike; each build's figure is the median of its rounds.
  const int rounds = plays.size() > 1 ? 5 : 1;
  std::vector<std::vector<double>> steps(plays.size()), mouse_steps(plays.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < plays.size(); ++i) {
      std::printf("%ls, round %d:\n", i == 0 ? L"this build's play.exe" : plays[i].c_str(), round + 1);
      Drag drag;
      MouseDragResult mouse;
      if (!MeasurePlay(plays[i], base, round == 0, drag, mouse)) return 1;
      steps[i].push_back(drag.step);
      mouse_steps[i].push_back(mouse.step);
    }
  }

  // The floor: the same drag on a window that only fills its surface at each paint.
  ChildProcess trivial((std::filesystem::path(TestProgramFolder()) / "trivial_window.exe").wstring(), L"stay",
                       TestProgramFolder());
  const HWND floor_window = trivial.WaitWindow(L"VexoTrivialWindow", 30s);
  if (!floor_window) {
    std::printf("the floor's window did not show\n");
    return 1;
  }
  const Drag floor = BorderDrag(floor_window);
  const MouseDragResult mouse_floor = MouseDrag(floor_window);
  PostMessageW(floor_window, WM_CLOSE, 0, 0);
  trivial.WaitExit(15s);
  std::printf(
      "the same drags of a window that only fills itself: %.2f ms a step (layout %.2f), with the mouse %.2f ms = "
      "floors\n",
      floor.step, floor.layout, mouse_floor.step);
  for (std::size_t i = 0; i < plays.size(); ++i) {
    const double step = Median(steps[i]), mouse_step = Median(mouse_steps[i]);
    std::printf(
        "%ls (medians of %d rounds): %.2f ms a step, %.2f x floor; with the mouse %.2f ms a step, %.2f x floor\n",
        i == 0 ? L"this build's play.exe" : plays[i].c_str(), rounds, step, step / floor.step, mouse_step,
        mouse_step / mouse_floor.step);
  }
  return 0;
}

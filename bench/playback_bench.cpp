// Two measures of play.exe's window thread, in one process with the stand-in player:
//  - the CPU time of one Timer1 tick while an item plays (no network involved), through the
//    window's own timer message, so the screen update is counted too;
//  - how long the window stays unresponsive while h.asp takes a second to answer: a second
//    thread pings the window every 20 ms and records the longest answer, over 20 resolves.
// Run through scripts/bench-playback.sh.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "common/text/utf.h"
#include "play/lists/history_lists.h"
#include "play/win32/files_win32.h"
#include "play/win32/main_window_win32.h"
#include "play/win32/profile_strings_win32.h"
#include "tests/shared/test_folder.h"

namespace {

double CpuMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
  };
  return ms(kernel) + ms(user);
}

void Pump(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  }
}

}  // namespace

int main() {
  OleInitialize(nullptr);
  const char* port = std::getenv("VEXO_SITE_PORT");
  const std::u16string base = Utf8ToUtf16("http://127.0.0.1:" + std::string(port ? port : "9") + "/soft/");
  TestFolder folder;
  folder.Write(u"date.dat", "\r\n");
  folder.Write(u"date_f.dat", "\r\n");
  Win32ProfileStrings profile;
  Win32Files files;
  SystemCodePage code_page;
  HistoryLists lists(files, code_page, folder.Text());
  {
    MainWindowWin32 window({GetModuleHandleW(nullptr), &profile, &lists, folder.Text(), base});
    if (!window.Open(u"vexo://bench/a.rmvb?standin=connect:0,buffer:0,duration:3600,download:600")) return 1;
    Pump(1500);

    // One Timer1 tick, as the window timer delivers it (timer id 1 is Timer1).
    constexpr int kTicks = 500;
    const double before = CpuMs();
    for (int i = 0; i < kTicks; ++i) SendMessageW(window.hwnd(), WM_TIMER, 1, 0);
    const double per_tick = (CpuMs() - before) / kTicks;

    // h.asp answering slowly while the window thread resolves a catalogue link, many times over.
    constexpr int kResolves = 20;
    std::atomic<bool> measuring{true};
    std::atomic<long> longest{0};
    std::atomic<bool> pinger_done{false};
    std::thread pinger([&] {
      while (measuring.load()) {
        const ULONGLONG t0 = GetTickCount64();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window.hwnd(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        const long took = static_cast<long>(GetTickCount64() - t0);
        if (took > longest.load()) longest.store(took);
        Sleep(20);
      }
      pinger_done.store(true);
    });
    ULONGLONG slowest_resolve = 0;
    for (int i = 0; i < kResolves; ++i) {
      const ULONGLONG t0 = GetTickCount64();
      window.Run([](MainWindow& core) {
        bool cancel = false;
        core.BeforeNavigate(ba1::Web1, u"eebovod://201-2-1-x", cancel);
      });
      slowest_resolve = std::max(slowest_resolve, GetTickCount64() - t0);
      Pump(100);
    }
    // The pinger's last ping needs this thread to answer it: keep answering until it has ended,
    // rather than block in join() while it waits for us (that wait would count as a stall).
    measuring.store(false);
    while (!pinger_done.load()) Pump(10);
    pinger.join();

    std::printf("Timer1 tick while playing: %.3f ms CPU (mean of %d)\n", per_tick, kTicks);
    std::printf("%d resolves with h.asp answering in 1 s: slowest %llu ms; longest window answer meanwhile: %ld ms\n",
                kResolves, static_cast<unsigned long long>(slowest_resolve), longest.load());
    PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    Pump(300);
  }
  OleUninitialize();
  return 0;
}

// Time from starting VexoTip.exe to its first visible fade step, against starting and ending a
// trivial Win32 program, in the same run. Run through scripts/bench-tip-start.sh.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "bench/median.h"
#include "common/win32/unique_handle.h"
#include "tests/win/tip_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double TrivialRun(const std::wstring& program) {
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION info{};
  std::wstring command = L"\"" + program + L"\"";
  const auto t0 = Clock::now();
  CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
  const UniqueHandle process(info.hProcess), thread(info.hThread);
  WaitForSingleObject(process.get(), INFINITE);
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double TipRun(const TestFolder& folder) {
  const auto t0 = Clock::now();
  TipProcess tip(folder, L"7");
  HWND hwnd = tip.WaitWindow(L"VexoTipClass", 20s);
  while (hwnd && IsWindow(hwnd) && WindowAlpha(hwnd) <= 0) std::this_thread::sleep_for(1ms);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  if (hwnd) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  tip.WaitExit(10s);
  return ms;
}

}  // namespace

int main() {
  constexpr int kRuns = 7;
  TestFolder folder;
  TipProcess::Install(folder);
  folder.Write(u"VexoTips.xml",
               "<?xml version=\"1.0\"?><vexotips><tip id=\"7\" tiptype=\"1\" ver=\"1\" sticktime=\"1000\" mtitle=\"t\" "
               "mcontent=\"c\" clickurl=\"\"/></vexotips>");
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring trivial(path);
  trivial = trivial.substr(0, trivial.rfind(L'\\') + 1) + L"trivial_program.exe";

  std::vector<double> tips, trivials;
  for (int i = 0; i < kRuns; ++i) {
    trivials.push_back(TrivialRun(trivial));
    tips.push_back(TipRun(folder));
  }
  const double tip = Median(tips), base = Median(trivials);
  std::printf("trivial program start to end: %.0f ms (median of %d)\n", base, kRuns);
  std::printf("VexoTip start to first fade step: %.0f ms (median of %d)\n", tip, kRuns);
  std::printf("ratio: %.2f\n", tip / base);
  return 0;
}

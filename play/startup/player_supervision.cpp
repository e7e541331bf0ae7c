// The desktop player's processes kept as the user's settings want them, and the exit.
#include "common/text/ascii_case.h"
#include "common/text/web_address.h"
#include "play/main_window.h"
#include "play/startup/config_store.h"
#include "play/startup/run_startup.h"
#include "play/text/text_procedures.h"

namespace {

constexpr std::u16string_view kPlayerProgram = u"VexoPlayer.exe";
constexpr std::u16string_view kTerminalProgram = u"VexoTerminal.exe";
constexpr std::u16string_view kExitActionMarker = u"****";

}  // namespace

bool MainWindow::KillProcessByName(std::u16string_view name) {
  // The first process whose executable's name contains `name`, in its exact case.
  for (const ProcessEntry& process : ports_.processes.List()) {
    if (process.name.find(name) != std::u16string::npos) return ports_.processes.Terminate(process.id);
  }
  return false;
}

void MainWindow::Timer3_Timer() {
  model_.Timer(ba1::Timer3).enabled = false;
  if (IniNumber(ReadIniValue(ports_.profile, config_path_, config::kVexoqi)) != 1) {
    for (const ProcessEntry& process : ports_.processes.List()) {
      if (!EqualsIgnoringAsciiCase(process.name, kPlayerProgram)) continue;
      const std::u16string path = ports_.processes.ImagePath(process.id);
      if (!path.empty()) context_.player_folder = path;
      ports_.processes.Terminate(process.id);
    }
    // The folder keeps its final backslash.
    const auto program = context_.player_folder.find(kPlayerProgram);
    if (program != std::u16string::npos) context_.player_folder.erase(program, kPlayerProgram.size());
    bool terminal_runs = false;
    for (const ProcessEntry& process : ports_.processes.List()) {
      terminal_runs = terminal_runs || EqualsIgnoringAsciiCase(process.name, kTerminalProgram);
    }
    ports_.host.SweepTrayIcons();
    if (!terminal_runs) {
      ports_.host.LetPendingEventsRun();
      // Without a known folder there is nothing to start: a bare name would be looked for
      // in the current folder and the path, where any program of that name may lie.
      if (!context_.player_folder.empty()) {
        ports_.processes.StartMinimized(context_.player_folder + std::u16string(kTerminalProgram));
      }
    }
  }
  if (!context_.player_folder.empty())
    WriteIniValue(ports_.profile, config_path_, config::kVexow, context_.player_folder);
}

void MainWindow::ttt_v() {
  ReleaseAwake();
  ports_.host.RemoveTrayIcon();
  const long long vexok = IniNumber(ReadIniValue(ports_.profile, config_path_, config::kVexok));
  bo_but_Click(1);
  if (vexok == 2) {
    KillProcessByName(kPlayerProgram);
    KillProcessByName(kTerminalProgram);
    ports_.host.SweepTrayIcons();
  }
  if (ports_.transfer.Busy()) {
    // A hung request (the upgrade file's) must not keep the program alive.
    ports_.transfer.Cancel();
    ports_.host.EndProcessNow();
    return;
  }
  const auto marker = exit_action_.find(kExitActionMarker);
  if (marker != std::u16string::npos) {
    const std::u16string_view flag = std::u16string_view(exit_action_).substr(0, marker);
    const std::u16string_view address = std::u16string_view(exit_action_).substr(marker + kExitActionMarker.size());
    // The site names a page to show; nothing else (a program, a local file) is opened.
    if (flag == u"1" && IsOpenableWebAddress(address)) ports_.host.OpenAddress(address);
  }
  ports_.host.UnloadWindows();
}

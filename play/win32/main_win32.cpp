// play.exe: start-up refuses to run without the player control, prepares config.ini and the
// lists, then either hands the command line to the copy already running or opens the main
// window and runs until it closes.
#include <windows.h>
#include <ole2.h>

#include <cstdlib>

#include "common/text/utf.h"
#include "common/win32/wide.h"
#include "play/lists/history_lists.h"
#include "play/ports/code_page.h"
#include "play/startup/config_keys.h"
#include "play/startup/run_startup.h"
#include "play/win32/clock_win32.h"
#include "play/win32/files_win32.h"
#include "play/win32/main_window_win32.h"
#include "play/win32/profile_strings_win32.h"
#include "play/win32/short_path_win32.h"
#include "play/win32/single_instance_win32.h"
#include "play/win32/startup_system_win32.h"

namespace {

std::u16string ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string folder = FromWide(std::wstring_view(path, length));
  return folder.substr(0, folder.rfind(u'\\'));
}

// The content site: built in, or PLAY_CONTENT_BASE for tests and the demo.
std::u16string ContentBase() {
  wchar_t value[1024];
  const DWORD length = GetEnvironmentVariableW(L"PLAY_CONTENT_BASE", value, 1024);
  if (length > 0 && length < 1024) return FromWide(std::wstring_view(value, length));
  return Utf8ToUtf16(VEXO_CONTENT_BASE);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  const std::u16string program_folder = ProgramFolder();
  Win32StartupSystem system;
  // A first start names the user by the network adapter's address.
  if (GetFileAttributesW(ToWide(program_folder + u"\\" + std::u16string(config::kFileName)).c_str()) ==
      INVALID_FILE_ATTRIBUTES) {
    system.LookUpMacAddressAhead();
  }
  OleInitialize(nullptr);
  const std::u16string arguments = FromWide(command_line ? command_line : L"");
  int exit_code = 0;
  {
    Win32ProfileStrings profile;
    Win32Files files;
    SystemCodePage code_page;
    Win32Clock clock;
    StartupContext context{profile, files, code_page, clock, system, program_folder};
    if (RunStartup(context) == StartupOutcome::kMainWindowShown) {
      SingleInstance instance_guard;
      if (!instance_guard.first()) {
        // A copy runs already: it takes our command line, and we end without a window.
        HandOverCommandLine(arguments);
      } else {
        MainWindowWin32* shown = nullptr;
        // A rewritten list page is reloaded in the pane that shows it.
        HistoryLists lists(
            files, code_page, context.program_folder,
            [&shown](std::u16string_view list_file, const std::u16string& page) {
              if (shown) shown->panes().Navigate(list_file == kWebListFile ? ba1::Web3 : ba1::Web4, page);
            },
            ShortPathIfPossible);
        MainWindowWin32 window({instance, &profile, &lists, context.program_folder, ContentBase()});
        shown = &window;
        if (window.Open(arguments)) {
          MSG message;
          while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
          }
          exit_code = 0;
        }
      }
    }
  }
  OleUninitialize();
  // Everything is saved and closed by now. A return would start the libraries' teardown, which
  // frees the heap while a helper thread may still be waiting on a slow server (Wine ends the
  // other threads only as they next call into the system), and that thread then crashes the
  // exit: the process ends here at once instead.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exit_code));
  return exit_code;
}

#pragma once
// A program started by a test: in a folder, with an argument, ended at the latest when the
// test is done with it.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
 public:
  // Starts `program` with `argument` after it, in `folder`; `environment` pairs are set for
  // the child only.
  ChildProcess(const std::wstring& program, const std::wstring& argument, const std::wstring& folder,
               const std::vector<std::pair<std::wstring, std::wstring>>& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  // The exit code, once the process has ended within `limit`.
  std::optional<DWORD> WaitExit(std::chrono::milliseconds limit);
  // A top-level window of this class that belongs to the process, once it exists.
  HWND WaitWindow(const wchar_t* window_class, std::chrono::milliseconds limit);
  // The same, once it is shown (a popup menu, a dialog).
  HWND WaitShownWindow(const wchar_t* window_class, std::chrono::milliseconds limit);
  // Picks the entry of the popup menu this process shows that lies `downs` steps down, by
  // keys, once the menu is up; false when no menu came up.
  bool ChooseFromMenu(int downs);

 private:
  // A top-level window of the class that belongs to the process (and is shown, if asked).
  HWND WaitOwnWindow(const wchar_t* window_class, std::chrono::milliseconds limit, bool shown);

  PROCESS_INFORMATION info_{};
};

// All top-level windows of a class, in z order.
std::vector<HWND> WindowsOfClass(const wchar_t* window_class);
// The constant opacity of a layered window, or -1.
int WindowAlpha(HWND hwnd);
RECT WindowRect(HWND hwnd);
RECT WorkArea();
// The first window below `parent` of a class (and with exactly `text`, when given).
HWND ChildWindowOf(HWND parent, const wchar_t* window_class, const wchar_t* text = nullptr);
// The row list of the link-list pane named `pane` among the children of `main`, or nullptr.
HWND FindPaneList(HWND main, const wchar_t* pane);
// Selects a row of a pane's list as a click does.
void ClickListRow(HWND list, int row);
// The folder of the running test program (where the built programs are).
std::wstring TestProgramFolder();

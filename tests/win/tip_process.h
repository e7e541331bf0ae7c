#pragma once
// Runs VexoTip.exe for a test: a folder with the program, its default skin and a tips
// document, and the process started with an argument.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/shared/test_folder.h"

class TipProcess {
 public:
  // Copies VexoTip.exe, PopMessage.xml and skin\ from beside the test program into `folder`.
  static void Install(const TestFolder& folder);

  TipProcess(const TestFolder& folder, const std::wstring& argument, int life_period_ms = 0);
  ~TipProcess();
  TipProcess(const TipProcess&) = delete;
  TipProcess& operator=(const TipProcess&) = delete;

  // The exit code, once the process has ended within `limit`.
  std::optional<DWORD> WaitExit(std::chrono::milliseconds limit);
  // The process's top-level window of this class, once it exists within `limit`.
  HWND WaitWindow(const wchar_t* window_class, std::chrono::milliseconds limit);
  DWORD id() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_{};
};

// The constant opacity of a layered window, or -1.
int WindowAlpha(HWND hwnd);
// All top-level windows of a class, in z order.
std::vector<HWND> WindowsOfClass(const wchar_t* window_class);
RECT WindowRect(HWND hwnd);
RECT WorkArea();

#pragma once
// Runs VexoTip.exe for a test: a folder with the program, its default skin and a tips
// document, and the process started with an argument.
#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"

class TipProcess : public ChildProcess {
 public:
  // Copies VexoTip.exe, PopMessage.xml and skin\ from beside the test program into `folder`.
  static void Install(const TestFolder& folder);

  TipProcess(const TestFolder& folder, const std::wstring& argument, int life_period_ms = 0);
};

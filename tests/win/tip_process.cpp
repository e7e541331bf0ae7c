#include "tests/win/tip_process.h"

#include <filesystem>

namespace fs = std::filesystem;

void TipProcess::Install(const TestFolder& folder) {
  const fs::path from = TestProgramFolder();
  fs::copy_file(from / "VexoTip.exe", folder.path() / "VexoTip.exe", fs::copy_options::overwrite_existing);
  fs::copy_file(from / "PopMessage.xml", folder.path() / "PopMessage.xml", fs::copy_options::overwrite_existing);
  fs::copy(from / "skin", folder.path() / "skin", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

TipProcess::TipProcess(const TestFolder& folder, const std::wstring& argument, int life_period_ms)
    : ChildProcess((folder.path() / "VexoTip.exe").wstring(), argument, folder.path().wstring(),
                   {{L"VEXOTIP_PERIOD_MS", life_period_ms > 0 ? std::to_wstring(life_period_ms) : L""}}) {}

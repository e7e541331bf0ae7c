#include "tests/win/tip_process.h"

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {
fs::path TestProgramFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}
}  // namespace

void TipProcess::Install(const TestFolder& folder) {
  const fs::path from = TestProgramFolder();
  fs::copy_file(from / "VexoTip.exe", folder.path() / "VexoTip.exe", fs::copy_options::overwrite_existing);
  fs::copy_file(from / "PopMessage.xml", folder.path() / "PopMessage.xml", fs::copy_options::overwrite_existing);
  fs::copy(from / "skin", folder.path() / "skin", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

TipProcess::TipProcess(const TestFolder& folder, const std::wstring& argument, int life_period_ms) {
  SetEnvironmentVariableW(L"VEXOTIP_PERIOD_MS", life_period_ms > 0 ? std::to_wstring(life_period_ms).c_str() : nullptr);
  const std::wstring program = (folder.path() / "VexoTip.exe").wstring();
  std::wstring command = L"\"" + program + L"\" " + argument;
  STARTUPINFOW startup{sizeof startup};
  CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.path().wstring().c_str(),
                 &startup, &info_);
  SetEnvironmentVariableW(L"VEXOTIP_PERIOD_MS", nullptr);
}

TipProcess::~TipProcess() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
  WaitForSingleObject(info_.hProcess, 5000);
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

std::optional<DWORD> TipProcess::WaitExit(std::chrono::milliseconds limit) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND TipProcess::WaitWindow(const wchar_t* window_class, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    for (HWND hwnd : WindowsOfClass(window_class)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(hwnd, &owner);
      if (owner == info_.dwProcessId) return hwnd;
    }
    std::this_thread::sleep_for(5ms);
  }
  return nullptr;
}

int WindowAlpha(HWND hwnd) {
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
  return alpha;
}

std::vector<HWND> WindowsOfClass(const wchar_t* window_class) {
  std::vector<HWND> found;
  for (HWND hwnd = FindWindowExW(nullptr, nullptr, window_class, nullptr); hwnd;
       hwnd = FindWindowExW(nullptr, hwnd, window_class, nullptr)) {
    found.push_back(hwnd);
  }
  return found;
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

RECT WorkArea() {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

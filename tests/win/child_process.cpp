#include "tests/win/child_process.h"

#include <climits>
#include <thread>

#include "tests/win/real_input.h"

using namespace std::chrono_literals;

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& argument, const std::wstring& folder,
                           const std::vector<std::pair<std::wstring, std::wstring>>& environment) {
  // The child inherits our environment: set the extra variables around its start only.
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved;
  for (const auto& [name, value] : environment) {
    wchar_t old[4096];
    const DWORD length = GetEnvironmentVariableW(name.c_str(), old, 4096);
    saved.emplace_back(name, length ? std::optional<std::wstring>(std::wstring(old, length)) : std::nullopt);
    SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
  }
  std::wstring command = L"\"" + program + L"\" " + argument;
  STARTUPINFOW startup{sizeof startup};
  CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                 &info_);
  for (const auto& [name, value] : saved) SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
}

ChildProcess::~ChildProcess() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
  WaitForSingleObject(info_.hProcess, 5000);
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

std::optional<DWORD> ChildProcess::WaitExit(std::chrono::milliseconds limit) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND ChildProcess::WaitWindow(const wchar_t* window_class, std::chrono::milliseconds limit) {
  return WaitOwnWindow(window_class, limit, false);
}

HWND ChildProcess::WaitShownWindow(const wchar_t* window_class, std::chrono::milliseconds limit) {
  return WaitOwnWindow(window_class, limit, true);
}

HWND ChildProcess::WaitOwnWindow(const wchar_t* window_class, std::chrono::milliseconds limit, bool shown) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    for (HWND hwnd : WindowsOfClass(window_class)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(hwnd, &owner);
      if (owner == info_.dwProcessId && (!shown || IsWindowVisible(hwnd))) return hwnd;
    }
    std::this_thread::sleep_for(5ms);
  }
  return nullptr;
}

bool ChildProcess::ChooseFromMenu(int downs) {
  using namespace std::chrono_literals;
  HWND menu = WaitShownWindow(L"#32768", 10s);
  if (!menu) return false;
  // The menu takes keys once its own loop runs; they come from the keyboard, as a user's do.
  std::this_thread::sleep_for(300ms);
  for (int i = 0; i < downs; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  return true;
}

std::vector<HWND> WindowsOfClass(const wchar_t* window_class) {
  std::vector<HWND> found;
  for (HWND hwnd = FindWindowExW(nullptr, nullptr, window_class, nullptr); hwnd;
       hwnd = FindWindowExW(nullptr, hwnd, window_class, nullptr)) {
    found.push_back(hwnd);
  }
  return found;
}

int WindowAlpha(HWND hwnd) {
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
  return alpha;
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

std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\'));
}

HWND ChildWindowOf(HWND parent, const wchar_t* window_class, const wchar_t* text) {
  struct Search {
    const wchar_t* window_class;
    const wchar_t* text;
    HWND found;
  } search{window_class, text, nullptr};
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t cls[64] = {}, title[64] = {};
        GetClassNameW(hwnd, cls, 64);
        GetWindowTextW(hwnd, title, 64);
        if (std::wstring(cls) != s->window_class || (s->text && std::wstring(title) != s->text)) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindPaneList(HWND main, const wchar_t* pane) {
  const HWND found = ChildWindowOf(main, L"VexoLinkListPane", pane);
  return found ? GetWindow(found, GW_CHILD) : nullptr;
}

void ClickListRow(HWND list, int row) {
  // Scrolled into view first, as a user would scroll to it.
  SendMessageW(list, LB_SETTOPINDEX, row, 0);
  RECT item{};
  if (SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)) == LB_ERR) return;
  ClickWithMouse(list, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

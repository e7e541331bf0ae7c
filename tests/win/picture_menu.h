#pragma once
// The control's picture window, and keys for the picture's menu: the menu's loop runs in the
// test's thread once the click is taken, so its keys come from another thread.
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/win/real_input.h"

inline HWND FindScreen(HWND parent) {
  HWND found = nullptr;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM out) {
        wchar_t name[64] = L"";
        GetClassNameW(child, name, 64);
        if (std::wstring(name) != L"VexoMediaPlayerScreen") return TRUE;
        *reinterpret_cast<HWND*>(out) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The menu's loop runs in this thread once the click is taken: its keys come from another
// one, once the menu shows, as a user's hand would.
class KeysToTheMenu {
 public:
  explicit KeysToTheMenu(std::vector<WORD> keys)
      : thread_([keys = std::move(keys)] {
          using std::chrono::milliseconds;
          const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
          while (!IsWindowVisible(FindWindowW(L"#32768", nullptr)) && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(milliseconds(20));
          }
          std::this_thread::sleep_for(milliseconds(150));
          for (const WORD key : keys) {
            PressKey(key);
            std::this_thread::sleep_for(milliseconds(100));
          }
        }) {}
  ~KeysToTheMenu() { thread_.join(); }

 private:
  std::thread thread_;
};

#pragma once
// One copy of the program at a time. A later copy hands its whole argument text to the
// running one and ends. The text travels as UTF-16 in WM_COPYDATA, so characters outside the
// system code page arrive unchanged; the running copy also answers DDE execute as application
// "绮映影视盒", topic "BA1", which file associations may use and which a later copy falls
// back to when the window message cannot be delivered.
#include <windows.h>

#include "common/win32/unique_handle.h"

#include <functional>
#include <set>
#include <string>
#include <string_view>

inline constexpr wchar_t kMainWindowClass[] = L"VexoPlayMainWindow";
inline constexpr ULONG_PTR kCommandLineCopyData = 0x56455831;  // "VEX1"

// Holds the instance mutex for the life of the first copy.
class SingleInstance {
 public:
  SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  bool first() const { return first_; }

 private:
  UniqueHandle mutex_;
  bool first_ = true;
};

// Delivers the text to the running copy: true when it took it.
bool HandOverCommandLine(std::u16string_view text);

// The text of a WM_COPYDATA that carries a command line, if it is one.
bool ReadHandedCommandLine(const COPYDATASTRUCT* data, std::u16string& text);

// The DDE side of the running copy, answered in the main window's own procedure: nothing is
// made for it at start, and a conversation is the client's window with the main window.
class DdeCommandServer {
 public:
  using Execute = std::function<void(const std::u16string&)>;
  DdeCommandServer(HWND window, Execute execute);
  DdeCommandServer(const DdeCommandServer&) = delete;
  DdeCommandServer& operator=(const DdeCommandServer&) = delete;

  // Answers a DDE message sent or posted to the window; false for any other message.
  bool Handle(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Initiate(HWND client, ATOM application, ATOM topic);
  void RunCommand(HWND client, HGLOBAL commands);
  void Refuse(UINT message, HWND client, LPARAM lparam);

  HWND window_;
  Execute execute_;
  std::set<HWND> clients_;  // the conversations open
};

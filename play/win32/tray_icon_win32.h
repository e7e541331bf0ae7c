#pragma once
// The program's icon in the notification area: added once, balloon messages, removed when
// the window goes (or when this object does, whichever is first).
#include <windows.h>
#include <shellapi.h>

#include <string_view>

class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Delete(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Adds the icon with its tool tip; its mouse events arrive at `owner` as `callback_message`
  // with the mouse message in lParam.
  bool Add(HWND owner, UINT callback_message, HICON icon, std::u16string_view tool_tip);
  void Balloon(std::u16string_view title, std::u16string_view text);
  void Delete();
  bool added() const { return added_; }

 private:
  NOTIFYICONDATAW data_{};
  bool added_ = false;
};

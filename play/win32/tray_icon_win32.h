#pragma once
// The program's icon in the notification area: added once, balloon messages, removed when
// the window goes (or when this object does, whichever is first). The shell answers each
// request synchronously, which can take a while (about 25 ms under Wine), so the icon is
// added on a helper thread and the window is shown without waiting for it; a balloon or a
// removal waits for the addition to have happened.
#include <windows.h>
#include <shellapi.h>

#include <future>
#include <string_view>

class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Delete(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Adds the icon with its tool tip; its mouse events arrive at `owner` as `callback_message`
  // with the mouse message in lParam.
  void Add(HWND owner, UINT callback_message, HICON icon, std::u16string_view tool_tip);
  void Balloon(std::u16string_view title, std::u16string_view text);
  void Delete();
  bool added();

 private:
  NOTIFYICONDATAW data_{};
  std::future<bool> adding_;
  bool added_ = false;
};

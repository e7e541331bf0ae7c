#pragma once
// The window's task bar button: three thumbnail buttons under its preview (ten seconds back,
// play/pause, the next episode) and the download share as its progress. The shell can take
// them only once it has made the button, which it announces with "TaskbarButtonCreated"
// (again after Explorer restarted); until then the view is only kept.
#include <windows.h>
#include <shobjidl.h>

#include <array>
#include <optional>

#include "common/win32/com.h"
#include "play/ports/desktop_session.h"

class TaskbarButtons {
 public:
  explicit TaskbarButtons(HWND window);
  ~TaskbarButtons();
  TaskbarButtons(const TaskbarButtons&) = delete;
  TaskbarButtons& operator=(const TaskbarButtons&) = delete;

  // The shell's announcement that the button exists (a registered message).
  UINT created_message() const { return created_message_; }
  void ButtonCreated();
  void Show(const TaskbarView& view);
  // The button a WM_COMMAND of the shell names, if it is one of ours.
  static std::optional<ThumbButton> ButtonOfCommand(WPARAM wparam);

 private:
  void ApplyButtons();
  void ApplyProgress();

  HWND window_;
  UINT created_message_ = 0;
  ComPtr<ITaskbarList3> list_;
  bool added_ = false;
  bool refused_ = false;
  TaskbarView view_;
  // back, play, pause, next
  std::array<HICON, 4> icons_{};
};

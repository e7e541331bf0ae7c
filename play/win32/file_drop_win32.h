#pragma once
// Files dropped on a window, both ways the shell drops them: WM_DROPFILES for a window that
// accepts files (DragAcceptFiles), and OLE drag and drop (an IDropTarget, as Explorer and
// most programs use it) with the shell's CF_HDROP list.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

// The paths of a drop, in its order; at most a few thousand, each a full path.
std::vector<std::u16string> FilesOfDrop(HDROP drop);

class FileDropRegistration {
 public:
  using Dropped = std::function<void(std::vector<std::u16string>)>;
  // Registers `window` for both kinds of drop; `dropped` runs on the window's thread.
  FileDropRegistration(HWND window, Dropped dropped);
  ~FileDropRegistration();
  FileDropRegistration(const FileDropRegistration&) = delete;
  FileDropRegistration& operator=(const FileDropRegistration&) = delete;

 private:
  HWND window_;
  IDropTarget* target_ = nullptr;
};

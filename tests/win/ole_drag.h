#pragma once
// Files dragged from this process with the real mouse through OLE's drag and drop, as
// Explorer drags them: a small window of ours is the place the drag starts from.
#include <windows.h>

#include <string>
#include <vector>

// Presses the left button on a window of this process, runs DoDragDrop with a CF_HDROP data
// object while the pointer moves to `to` (a point of the screen), and releases it there. The
// thread must be in a single-threaded apartment (OleInitialize). Gives the effect the drop
// target chose (DROPEFFECT_NONE when none took the files).
DWORD DragFilesWithTheMouse(const std::vector<std::wstring>& files, POINT to);

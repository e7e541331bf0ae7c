#pragma once
// What the drag probe notes in the window's thread, in memory the benchmark shares with it:
// each pointer move and each paint taken from the thread's queue, and the end of each paint.
#include <windows.h>

inline constexpr wchar_t kDragProbeMapping[] = L"Local\\VexoDragProbe";

struct DragProbeLog {
  enum Kind : LONG { kMove = 1, kPaint = 2, kPaintEnd = 3 };
  struct Event {
    LONGLONG at;  // QueryPerformanceCounter
    LONG kind;
    HWND window;  // the painted window
  };
  static constexpr LONG kCapacity = 16384;
  volatile LONG count;
  Event events[kCapacity];
};

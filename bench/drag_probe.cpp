// A message hook that the chrome benchmark puts into a window's thread in another process,
// so that a drag made with the mouse is timed where it runs: in the system's size loop of
// that thread. It notes each pointer move and each paint the thread takes from its queue;
// after each paint it posts itself a marker, which the thread takes before any further
// paint, so the marker's arrival is the end of the paint before it.
#include "bench/drag_probe.h"

namespace {

DragProbeLog* OpenLog() {
  static DragProbeLog* log = [] {
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kDragProbeMapping);
    return mapping ? static_cast<DragProbeLog*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(DragProbeLog)))
                   : nullptr;
  }();
  return log;
}

void Note(DragProbeLog* log, LONG kind, HWND window = nullptr) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const LONG index = InterlockedIncrement(&log->count) - 1;
  if (index < DragProbeLog::kCapacity) {
    log->events[index].at = now.QuadPart;
    log->events[index].kind = kind;
    log->events[index].window = window;
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK DragProbeHook(int code, WPARAM removed, LPARAM message_param) {
  static const UINT marker = RegisterWindowMessageW(L"VexoDragProbeMarker");
  auto* message = reinterpret_cast<MSG*>(message_param);
  DragProbeLog* log = code == HC_ACTION && removed == PM_REMOVE ? OpenLog() : nullptr;
  if (log) {
    if (message->message == marker && !message->hwnd) {
      Note(log, DragProbeLog::kPaintEnd);
      message->message = WM_NULL;  // nothing else in the thread is to see it
    } else if (message->message == WM_PAINT) {
      Note(log, DragProbeLog::kPaint, message->hwnd);
      PostThreadMessageW(GetCurrentThreadId(), marker, 0, 0);
    } else if (message->message == WM_MOUSEMOVE) {
      Note(log, DragProbeLog::kMove);
    }
  }
  return CallNextHookEx(nullptr, code, removed, message_param);
}

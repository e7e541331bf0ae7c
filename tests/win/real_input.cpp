#include "tests/win/real_input.h"

#include <thread>

namespace {

using namespace std::chrono_literals;

POINT ScreenPoint(HWND window, std::optional<POINT> at) {
  RECT r{};
  GetClientRect(window, &r);
  POINT p = at.value_or(POINT{r.right / 2, r.bottom / 2});
  ClientToScreen(window, &p);
  return p;
}

void Click(HWND window, std::optional<POINT> at, DWORD down, DWORD up, int times) {
  MoveMouseTo(window, at);
  for (int i = 0; i < times; ++i) {
    SendMouseButton(down);
    std::this_thread::sleep_for(40ms);
    SendMouseButton(up);
    std::this_thread::sleep_for(40ms);
  }
  std::this_thread::sleep_for(150ms);
}

}  // namespace

void SendMouseButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void SendPointerMove(POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (at.x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN);
  input.mi.dy = (at.y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void MoveMouseToScreen(POINT at) {
  // SetCursorPos puts the pointer there; the move event through the queue is what the window
  // under it sees, as it does when a hand moves the mouse.
  SetCursorPos(at.x, at.y);
  SendPointerMove(at);
  std::this_thread::sleep_for(150ms);
}

void MoveMouseTo(HWND window, std::optional<POINT> at) { MoveMouseToScreen(ScreenPoint(window, at)); }

void ClickWithMouse(HWND window, std::optional<POINT> at) {
  Click(window, at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1);
}

void RightClickWithMouse(HWND window, std::optional<POINT> at) {
  Click(window, at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1);
}

void DoubleClickWithMouse(HWND window, std::optional<POINT> at) {
  Click(window, at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);
}

void DragWithMouse(HWND window, POINT from, POINT to) {
  MoveMouseTo(window, from);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  std::this_thread::sleep_for(60ms);
  for (int step = 1; step <= 5; ++step) {
    MoveMouseTo(window, POINT{from.x + (to.x - from.x) * step / 5, from.y + (to.y - from.y) * step / 5});
  }
  SendMouseButton(MOUSEEVENTF_LEFTUP);
  std::this_thread::sleep_for(150ms);
}

void PressKey(WORD key) {
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof input[0]);
  std::this_thread::sleep_for(60ms);
}

void FocusWindow(HWND window) {
  SetForegroundWindow(window);
  std::this_thread::sleep_for(100ms);
}

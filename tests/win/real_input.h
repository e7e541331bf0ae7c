#pragma once
// What a user's mouse and keyboard do, through the system's input queue: the pointer goes
// to the place first (so the hover paths run, as they do for every real click), then the
// button is pressed and released there. Keys go the same way, to the focused window.
#include <windows.h>

#include <optional>

// The pointer onto `window` (at `at`, in its client coordinates; its centre by default),
// where it rests a moment as a hand does.
void MoveMouseTo(HWND window, std::optional<POINT> at = std::nullopt);
// The pointer to a point of the screen.
void MoveMouseToScreen(POINT at);
// The same move through the input queue alone, returning at once: what one step of a hand's
// drag sends.
void SendPointerMove(POINT at);
// A mouse button's press or release (MOUSEEVENTF_LEFTDOWN and the like) where the pointer is.
void SendMouseButton(DWORD flags);
// A left click on `window` with the pointer moved there first.
void ClickWithMouse(HWND window, std::optional<POINT> at = std::nullopt);
// The same with the right button.
void RightClickWithMouse(HWND window, std::optional<POINT> at = std::nullopt);
// A double click of the left button.
void DoubleClickWithMouse(HWND window, std::optional<POINT> at = std::nullopt);
// The left button pressed at `from` and released at `to` (client coordinates of `window`),
// moving in a few steps.
void DragWithMouse(HWND window, POINT from, POINT to);
// One key pressed and released (a virtual key code).
void PressKey(WORD key);
// Brings `window` to the front and gives it the keyboard, as a click on its frame would.
void FocusWindow(HWND window);

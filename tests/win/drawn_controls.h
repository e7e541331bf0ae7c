#pragma once
// The controls play.exe draws on its windows (buttons, tabs, labels: no windows of their
// own), found as a screen reader finds them: through the window's accessible object, by name
// (caption, else tool tip), with their place on the screen.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct DrawnControl {
  HWND window = nullptr;  // the top-level window that draws it
  std::wstring name;
  RECT screen{};
  bool shown = false;
  bool enabled = true;
  // A point of the control in the window's client pixels (its centre by default, else `at`
  // in the control's own pixels), for the real-input helpers.
  POINT InWindow(std::optional<POINT> at = std::nullopt) const;
};

// Every drawn control of `window`, in the window's design order.
std::vector<DrawnControl> DrawnControls(HWND window);
// The first whose name starts with `start`, a shown one before a hidden one.
std::optional<DrawnControl> DrawnControlStartingWith(HWND window, const std::wstring& start);
// Its name, or "".
std::wstring DrawnControlText(HWND window, const std::wstring& start);
// The shown ones named exactly `name`, highest on the screen first.
std::vector<DrawnControl> ShownDrawnControlsNamed(HWND window, const std::wstring& name);
// The highest of them.
std::optional<DrawnControl> ShownDrawnControlNamed(HWND window, const std::wstring& name);
// The mouse onto the control (its centre, else `at` in its own pixels), and a left click there.
void MoveMouseTo(const DrawnControl& control, std::optional<POINT> at = std::nullopt);
void ClickWithMouse(const DrawnControl& control, std::optional<POINT> at = std::nullopt);

#include "tests/win/drawn_controls.h"

#include <oleacc.h>

#include <algorithm>

#include "common/win32/com.h"
#include "tests/win/real_input.h"

POINT DrawnControl::InWindow(std::optional<POINT> at) const {
  POINT p = at ? POINT{screen.left + at->x, screen.top + at->y}
               : POINT{(screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2};
  ScreenToClient(window, &p);
  return p;
}

namespace {

// The drawn controls whose names `wanted` takes. Each question is a call into the other
// process: the names come first, the rest only for the controls wanted.
template <typename Wanted>
std::vector<DrawnControl> Collect(HWND window, Wanted wanted) {
  const ComApartment apartment;
  std::vector<DrawnControl> found;
  ComPtr<IAccessible> accessible;
  if (!window ||
      FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        accessible.ReceiveVoid())) ||
      !accessible) {
    return found;
  }
  LONG count = 0;
  if (FAILED(accessible->get_accChildCount(&count))) return found;
  for (LONG child = 1; child <= count; ++child) {
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    DrawnControl control;
    control.window = window;
    BSTR name = nullptr;
    if (accessible->get_accName(id, &name) == S_OK && name) control.name.assign(name, SysStringLen(name));
    SysFreeString(name);
    if (!wanted(control.name)) continue;
    VARIANT state{};
    if (SUCCEEDED(accessible->get_accState(id, &state)) && state.vt == VT_I4) {
      control.shown = (state.lVal & STATE_SYSTEM_INVISIBLE) == 0;
      control.enabled = (state.lVal & STATE_SYSTEM_UNAVAILABLE) == 0;
    }
    LONG left = 0, top = 0, width = 0, height = 0;
    if (SUCCEEDED(accessible->accLocation(&left, &top, &width, &height, id))) {
      control.screen = RECT{left, top, left + width, top + height};
    }
    found.push_back(std::move(control));
  }
  return found;
}

}  // namespace

std::vector<DrawnControl> DrawnControls(HWND window) {
  return Collect(window, [](const std::wstring&) { return true; });
}

std::optional<DrawnControl> DrawnControlStartingWith(HWND window, const std::wstring& start) {
  std::optional<DrawnControl> hidden;
  const auto starts = [&start](const std::wstring& name) { return !name.empty() && name.rfind(start, 0) == 0; };
  for (DrawnControl& control : Collect(window, starts)) {
    if (control.shown) return control;
    if (!hidden) hidden = control;
  }
  return hidden;
}

std::wstring DrawnControlText(HWND window, const std::wstring& start) {
  const std::optional<DrawnControl> control = DrawnControlStartingWith(window, start);
  return control ? control->name : L"";
}

std::vector<DrawnControl> ShownDrawnControlsNamed(HWND window, const std::wstring& name) {
  std::vector<DrawnControl> shown;
  for (DrawnControl& control : Collect(window, [&name](const std::wstring& n) { return n == name; })) {
    if (control.shown) shown.push_back(std::move(control));
  }
  std::stable_sort(shown.begin(), shown.end(),
                   [](const DrawnControl& a, const DrawnControl& b) { return a.screen.top < b.screen.top; });
  return shown;
}

std::optional<DrawnControl> ShownDrawnControlNamed(HWND window, const std::wstring& name) {
  std::vector<DrawnControl> shown = ShownDrawnControlsNamed(window, name);
  if (shown.empty()) return std::nullopt;
  return shown.front();
}

void MoveMouseTo(const DrawnControl& control, std::optional<POINT> at) {
  MoveMouseTo(control.window, control.InWindow(at));
}

void ClickWithMouse(const DrawnControl& control, std::optional<POINT> at) {
  ClickWithMouse(control.window, control.InWindow(at));
}

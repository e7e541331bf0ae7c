// The mouse over the renderer's controls: which control is under the pointer or holds the
// mouse, presses, releases and clicks; and the messages of the windows the renderer owns.
#include <algorithm>

#include "common/win32/gdi_scope.h"
#include "play/win32/drawn_controls_accessible_win32.h"
#include "play/win32/model_renderer_item_win32.h"

namespace {

bool IsMouseMessage(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP: return true;
  }
  return false;
}

POINT PointOf(LPARAM lparam) { return POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))}; }

}  // namespace

// The topmost drawn control of `host` under a point of its client area: the reverse of the
// paint order, what a control holds before the control.
ModelRenderer::Item* ModelRenderer::HitIn(int parent, HWND host, POINT at) {
  const auto& order = children_[parent >= 0 ? parent : items_.size()];
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    Item& item = *items_[*it];
    // A control with a window gets its own messages.
    if (!item.drawn || !item.showing || HasWindow(item) || HostWindow(item) != host) continue;
    if (!PtInRect(&item.visible, at)) continue;
    if (Item* inner = HitIn(item.index, host, at)) return inner;
    return &item;
  }
  return nullptr;
}

ModelRenderer::Item* ModelRenderer::HitTest(HWND host, POINT at) {
  if (host == form_) return HitIn(-1, host, at);
  for (auto& item : items_) {
    if (item->window() == host) return HitIn(item->index, host, at);
  }
  return nullptr;
}

bool ModelRenderer::RouteMouse(HWND host, UINT message, WPARAM wparam, LPARAM lparam) {
  const POINT at = PointOf(lparam);
  Item* target = nullptr;
  if (captured_ && GetCapture() == host && MouseWindow(*captured_) == host) target = captured_;
  else target = HitTest(host, at);
  if (!target) {
    // Over no drawn control: a control with a window is under the pointer itself.
    for (auto& item : items_) {
      if (item->window() == host) target = item.get();
    }
    if (!target) return false;
  }
  const auto local = [&](const Item& item) {
    return HasWindow(item) ? at : POINT{at.x - item.place.left, at.y - item.place.top};
  };
  const bool held = target == captured_;
  ControlMouse(*target, host, message, wparam, local(*target));
  // The control that held the mouse let it go as the pointer left it: the move is the
  // control's now under the pointer, as it would be were each a window (the system sends no
  // second move for the same point of the same window).
  if (message == WM_MOUSEMOVE && held && !captured_) {
    Item* under = HitTest(host, at);
    if (under && under != target) ControlMouse(*under, host, message, wparam, local(*under));
  }
  return true;
}

void ModelRenderer::ControlMouse(Item& item, HWND host, UINT message, WPARAM wparam, POINT at) {
  const Control& control = model_.controls()[item.index];
  const ControlId id = control.id;  // a handler may change the model
  const bool button = control.kind == ControlKind::kButton;
  const auto repaint = [&] {
    if (HasWindow(item)) InvalidateRect(item.window(), nullptr, FALSE);
    else InvalidateRect(host, &item.visible, FALSE);
  };
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_RBUTTONUP: {
      const bool down = message != WM_MOUSEMOVE && message != WM_RBUTTONUP;
      if (on_mouse_)
        on_mouse_(id,
                  down                      ? MouseEvent::kDown
                  : message == WM_MOUSEMOVE ? MouseEvent::kMove
                                            : MouseEvent::kUp,
                  wparam, at.x, at.y);
      if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        item.pressed = true;
        if (button) repaint();
        // A button under the pointer holds the mouse already (its hover path took it).
        if (GetCapture() != host) SetCapture(host);
        captured_ = &item;
        // The keys of the player go to the window, not to a pane that had the focus.
        SetFocus(form_);
      }
      return;
    }
    case WM_LBUTTONUP: {
      const bool was_pressed = item.pressed;
      item.pressed = false;
      if (was_pressed && button) repaint();
      if (captured_ == &item) {
        captured_ = nullptr;
        if (GetCapture() == host) ReleaseCapture();
      }
      if (on_mouse_) on_mouse_(id, MouseEvent::kUp, wparam, at.x, at.y);
      const long width = item.place.right - item.place.left, height = item.place.bottom - item.place.top;
      const bool inside = at.x >= 0 && at.y >= 0 && at.x < width && at.y < height;
      const Control* now = model_.Find(id);
      if (was_pressed && inside && now && now->enabled && on_click_) on_click_(id);
      return;
    }
  }
}

// Another window took the mouse: the control that held it lets go, unpressed.
void ModelRenderer::LoseMouse(HWND host) {
  if (captured_ && MouseWindow(*captured_) == host) {
    captured_->pressed = false;
    captured_ = nullptr;
  }
}

void ModelRenderer::CaptureMouse(const ControlId& id) {
  Item* item = ItemOf(id);
  if (!item || !item->drawn) return;
  const HWND window = MouseWindow(*item);
  if (!window) return;
  if (GetCapture() != window) SetCapture(window);
  captured_ = item;
}

std::optional<LRESULT> ModelRenderer::OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsMouseMessage(message)) {
    if (RouteMouse(form_, message, wparam, lparam)) return 0;
    return std::nullopt;
  }
  switch (message) {
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != form_) LoseMouse(form_);
      return std::nullopt;
    case WM_ENTERSIZEMOVE: live_resize_ = true; return std::nullopt;
    case WM_EXITSIZEMOVE:
      live_resize_ = false;
      form_surface_.Release();
      return std::nullopt;
    case WM_SETCURSOR:
      // Over a drawn control the pointer is the plain arrow, as over a window of its own.
      if (reinterpret_cast<HWND>(wparam) == form_ && LOWORD(lparam) == HTCLIENT) {
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(form_, &at);
        if (HitTest(form_, at)) {
          SetCursor(LoadCursorW(nullptr, IDC_ARROW));
          return TRUE;
        }
      }
      return std::nullopt;
    case WM_GETOBJECT:
      if (static_cast<DWORD>(lparam) == static_cast<DWORD>(OBJID_CLIENT)) {
        if (!accessible_) accessible_ = DrawnControlsAccessible::Create(*this, form_);
        if (accessible_) return accessible_->Answer(wparam);
      }
      return std::nullopt;
  }
  return std::nullopt;
}

LRESULT ModelRenderer::OnWindowMessage(Item& item, UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND hwnd = item.window();
  if (IsMouseMessage(message)) {
    RouteMouse(hwnd, message, wparam, lparam);
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND: return 1;
    // No border, no caption: nothing outside the client area to draw, and the system's default
    // costs a window DC each time under Wine.
    case WM_NCPAINT: return 0;
    case WM_PAINT: PaintItemWindow(item); return 0;
    case WM_CAPTURECHANGED:
      // Taking the mouse again for the same window (the hover path has it already when the
      // press comes) is no loss of it.
      if (reinterpret_cast<HWND>(lparam) != hwnd) {
        item.pressed = false;
        LoseMouse(hwnd);
      }
      return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

int ModelRenderer::DescribedCount() const { return static_cast<int>(described_.size()); }

std::optional<ModelRenderer::Described> ModelRenderer::Describe(int child) const {
  if (child < 1 || child > DescribedCount()) return std::nullopt;
  const Item& item = *items_[described_[child - 1]];
  const Control& c = model_.controls()[item.index];
  Described d;
  d.kind = c.kind;
  d.name = c.caption.empty() ? c.tool_tip : c.caption;
  d.description = c.tool_tip;
  d.showing = item.showing && IsWindowVisible(form_);
  d.enabled = c.enabled;
  d.checked = c.checked;
  d.pressed = item.pressed;
  d.container = !children_[item.index].empty();
  if (d.showing) {
    if (HasWindow(item) && item.window()) {
      GetWindowRect(item.window(), &d.screen);
    } else if (const HWND host = HostWindow(item)) {
      d.screen = item.visible;
      MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&d.screen), 2);
    }
  }
  return d;
}

int ModelRenderer::DescribedAt(POINT screen) const {
  const HWND window = WindowFromPoint(screen);
  auto* self = const_cast<ModelRenderer*>(this);
  POINT at = screen;
  ScreenToClient(window, &at);
  const Item* found = self->HitTest(window, at);
  for (std::size_t i = 0; !found && i < items_.size(); ++i) {
    if (items_[i]->window() == window) found = items_[i].get();
  }
  if (!found) return 0;
  const auto child = std::find(described_.begin(), described_.end(), found->index);
  return child == described_.end() ? 0 : static_cast<int>(child - described_.begin()) + 1;
}

void ModelRenderer::ClickDescribed(int child) {
  if (child < 1 || child > DescribedCount()) return;
  const Item& item = *items_[described_[child - 1]];
  const Control& c = model_.controls()[item.index];
  if (item.showing && c.enabled && on_click_) {
    const ControlId id = c.id;
    on_click_(id);
  }
}

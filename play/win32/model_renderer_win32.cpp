#include "play/win32/model_renderer_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <optional>

#include "common/win32/gdi_scope.h"
#include "common/win32/wide.h"
#include "common/win32/window_base.h"

namespace {
constexpr wchar_t kControlClass[] = L"VexoModelControl";
constexpr long long kSharedSurfacePixels = 400 * 300;  // the shared paint surface's largest size

bool Lightweight(ControlKind kind) {
  return kind == ControlKind::kLabel || kind == ControlKind::kLine || kind == ControlKind::kFrame;
}

// An image is drawn when it shows a picture of its own (the cover); the image holders of the
// skins and the buttons never are.
bool Drawn(const Control& c) {
  const ControlKind kind = c.kind;
  return kind == ControlKind::kPictureBox || kind == ControlKind::kLabel || kind == ControlKind::kLine ||
         kind == ControlKind::kCheckBox || kind == ControlKind::kButton || kind == ControlKind::kFrame ||
         (kind == ControlKind::kImage && c.picture.has_value());
}
}  // namespace

// One control, its window when the renderer draws it, and what was last applied of it.
class ModelRenderer::Item final : public WindowBase {
 public:
  Item(ModelRenderer& owner, std::size_t index) : owner(owner), index(index) {}
  ~Item() override = default;
  void Create(const Control& c, HWND parent) {
    CreateBound(0, kControlClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, c.left, c.top, c.width, c.height,
                parent, nullptr, GetModuleHandleW(nullptr));
  }
  HWND window() const { return hwnd_; }

  ModelRenderer& owner;
  std::size_t index = 0;  // into the model's controls
  bool pressed = false;
  Control applied;  // the state last given to Windows
  bool first = true;
  bool tool_added = false;
  bool measured_first = true;
  std::u16string measured_caption;

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    return owner.OnControlMessage(*this, message, wparam, lparam);
  }
  friend class ModelRenderer;
};

ModelRenderer::ModelRenderer(HWND form, WindowModel& model, ClickHandler on_click, PlaceExternal place_external)
    : form_(form), model_(model), on_click_(std::move(on_click)), place_external_(std::move(place_external)) {
  // No CS_DBLCLKS: no control has a double-click action, and with it the second of two quick
  // presses (a pause and a play, two steps of a toggle) would come as a double click and be
  // lost as a click.
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kControlClass;
  Item::RegisterWindowClass(wc);
  font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体"));
  tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  measure_dc_.reset(CreateCompatibleDC(nullptr));
  const auto& controls = model_.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) items_.push_back(std::make_unique<Item>(*this, i));
  Sync();
}

// Children go before their containers, each window with the object that handles it.
ModelRenderer::~ModelRenderer() {
  while (!items_.empty()) items_.pop_back();
  if (surface_old_) SelectObject(surface_dc_.get(), surface_old_);  // so that the surface can go
}

HWND ModelRenderer::WindowOf(const ControlId& id) {
  Item* item = ItemOf(id);
  return item ? Realize(*item) : nullptr;
}

ModelRenderer::Item* ModelRenderer::ItemOf(const ControlId& id) {
  const auto& controls = model_.controls();
  for (const auto& item : items_) {
    if (item->index < controls.size() && controls[item->index].id == id) return item.get();
  }
  return nullptr;
}

// Whether the control and all its containers are visible: only then can it be seen.
bool ModelRenderer::Showing(const Control& control) {
  const Control* c = &control;
  for (int depth = 0; c && depth < 64; ++depth) {
    if (!c->visible) return false;
    if (c->parent.name.empty()) return true;
    c = model_.Find(c->parent);
  }
  return false;
}

// Windows are made when a control first shows, or when its window is asked for (a container
// of a pane or of the player): a window no one has seen costs nothing at start.
HWND ModelRenderer::Realize(Item& item) {
  if (item.window()) return item.window();
  const Control& c = model_.controls()[item.index];
  if (!Drawn(c)) return nullptr;
  HWND parent = form_;
  if (!c.parent.name.empty()) {
    if (Item* container = ItemOf(c.parent)) {
      if (HWND window = Realize(*container)) parent = window;
    }
  }
  item.Create(c, parent);
  const HWND created = item.window();
  if (!created) return nullptr;
  // Text lies under the picture boxes of its container (a title under the buttons it runs
  // into); among picture boxes the later rows of the design lie above the earlier ones (the
  // balloon above everything, a thumb above its track's bar).
  HWND insert_after = Lightweight(c.kind) ? HWND_BOTTOM : HWND_TOP;
  for (std::size_t i = item.index + 1; insert_after == HWND_TOP && i < items_.size(); ++i) {
    const HWND later = items_[i]->window();
    if (later && GetParent(later) == parent && !Lightweight(model_.controls()[items_[i]->index].kind)) {
      insert_after = later;
    }
  }
  SetWindowPos(created, insert_after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  item.first = true;
  return created;
}

SIZE ModelRenderer::MeasureText(std::u16string_view text) {
  SIZE size{};
  if (!measure_dc_) return size;
  const ScopedSelect select_font(measure_dc_.get(), font_.get());
  const std::wstring wide = ToWide(text);
  GetTextExtentPoint32W(measure_dc_.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return size;
}

void ModelRenderer::Sync() {
  auto& controls = model_.controls();
  // A new frame repaints the window's own surface and the labels that show it through.
  const bool frame_changed = model_.frame != applied_frame_;
  if (frame_changed) {
    applied_frame_ = model_.frame;
    InvalidateRect(form_, nullptr, FALSE);
  }
  std::map<HWND, RECT> to_redraw;  // per container, what moved controls leave and cover
  for (auto& item_ptr : items_) {
    Item& item = *item_ptr;
    Control& c = controls[item.index];
    // An auto-sized label takes the size of its text, as its Width and Height then read.
    if (c.kind == ControlKind::kLabel && c.auto_size && !c.word_wrap &&
        (item.measured_first || c.caption != item.measured_caption)) {
      const SIZE size = MeasureText(c.caption);
      c.width = size.cx;
      c.height = std::max<long>(size.cy, 12);
      item.measured_caption = c.caption;
      item.measured_first = false;
    }
    if (!item.window() && Drawn(c) && Showing(c)) Realize(item);
    const HWND window = item.window();
    if (!window && Drawn(c)) continue;  // not made yet: nothing on the screen to change
    const Control& a = item.applied;
    const bool moved = item.first || c.left != a.left || c.top != a.top || c.width != a.width || c.height != a.height;
    const bool shown_changed = item.first || c.visible != a.visible;
    const bool looks_changed = item.first || c.caption != a.caption || c.back_color != a.back_color ||
                               c.fore_color != a.fore_color || c.enabled != a.enabled || c.picture != a.picture ||
                               c.checked != a.checked;
    if (!window) {
      if ((moved || shown_changed) && place_external_) {
        const HWND container = c.parent.name.empty() ? form_ : WindowOf(c.parent);
        place_external_(c, container ? container : form_);
      }
    } else {
      // Moved without being drawn there and then: its old and new place are painted once,
      // after every control is placed (a resize moves dozens).
      if (moved) {
        SetWindowPos(window, nullptr, c.left, c.top, c.width, c.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS);
        RECT& dirty = to_redraw[GetParent(window)];
        const RECT new_place{c.left, c.top, c.right(), c.bottom()};
        UnionRect(&dirty, &dirty, &new_place);
        if (!item.first) {
          const RECT old_place{a.left, a.top, a.right(), a.bottom()};
          UnionRect(&dirty, &dirty, &old_place);
        }
      }
      if (shown_changed) ShowWindow(window, c.visible ? SW_SHOWNA : SW_HIDE);
      if (looks_changed || (frame_changed && c.transparent)) InvalidateRect(window, nullptr, FALSE);
      // The caption is the window's text too, for screen readers and for tests; a picture
      // button without one is named by its tool tip ("播放", "计划关机").
      if (item.first || c.caption != a.caption || (c.caption.empty() && c.tool_tip != a.tool_tip)) {
        SetWindowTextW(window, ToWide(c.caption.empty() ? c.tool_tip : c.caption).c_str());
      }
      const bool resized = item.first || c.width != a.width || c.height != a.height;
      if (c.tool_tip != a.tool_tip || resized) UpdateTool(item);
    }
    item.applied = c;
    item.first = false;
  }
  for (const auto& [container, dirty] : to_redraw)
    RedrawWindow(container, &dirty, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void ModelRenderer::UpdateTool(Item& item) {
  if (!tooltip_ || !item.window()) return;
  const Control& c = model_.controls()[item.index];
  TOOLINFOW tool{sizeof tool};
  tool.hwnd = item.window();
  tool.uId = 1;
  if (item.tool_added) {
    SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    item.tool_added = false;
  }
  if (c.tool_tip.empty() || !c.system_tip) return;
  std::wstring text = ToWide(c.tool_tip);
  tool.uFlags = TTF_SUBCLASS;
  GetClientRect(item.window(), &tool.rect);
  tool.lpszText = text.data();
  item.tool_added = SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

namespace {

// A 32-bit picture carries its own (premultiplied) alpha and is blended over what is below.
bool HasAlpha(HBITMAP image) {
  BITMAP info{};
  return GetObjectW(image, sizeof info, &info) == sizeof info && info.bmBitsPixel == 32;
}

void CopyPicture(HDC dc, HDC source, HBITMAP image, const PictureSource& picture, long left, long top) {
  const long width = picture.target_width > 0 ? picture.target_width : picture.width;
  const long height = picture.target_height > 0 ? picture.target_height : picture.height;
  if (HasAlpha(image)) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, left, top, width, height, source, picture.x, picture.y, picture.width, picture.height, blend);
  } else if (width == picture.width && height == picture.height) {
    BitBlt(dc, left, top, width, height, source, picture.x, picture.y, SRCCOPY);
  } else {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, left, top, width, height, source, picture.x, picture.y, picture.width, picture.height, SRCCOPY);
  }
}

}  // namespace

// Check boxes, buttons and frames in the system's own look; "&A" underlines its letter.
void ModelRenderer::PaintStandard(HDC dc, const Control& c, RECT r, bool pressed) {
  const ScopedSelect select_font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, c.enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
  const std::wstring text = ToWide(c.caption);
  const int length = static_cast<int>(text.size());
  if (c.kind == ControlKind::kButton) {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    if (pressed) OffsetRect(&r, 1, 1);
    DrawTextW(dc, text.c_str(), length, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  } else if (c.kind == ControlKind::kCheckBox) {
    const int box = 13;
    RECT mark{0, (r.bottom - box) / 2, box, (r.bottom - box) / 2 + box};
    DrawFrameControl(dc, &mark, DFC_BUTTON, DFCS_BUTTONCHECK | (c.checked ? DFCS_CHECKED : 0));
    RECT caption{box + 4, 0, r.right, r.bottom};
    DrawTextW(dc, text.c_str(), length, &caption, DT_SINGLELINE | DT_VCENTER);
  } else {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
    RECT edge{0, extent.cy / 2, r.right, r.bottom};
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    if (length > 0) {
      RECT caption{8, 0, 8 + extent.cx + 4, extent.cy};
      FillRect(dc, &caption, UniqueBrush(CreateSolidBrush(c.back_color)).get());
      OffsetRect(&caption, 2, 0);
      DrawTextW(dc, text.c_str(), length, &caption, DT_SINGLELINE | DT_NOPREFIX);
    }
  }
}

void ModelRenderer::PaintPicture(HDC dc, const PictureSource& picture) {
  if (!image_source_) return;
  HBITMAP image = image_source_(picture.slot);
  if (!image) return;
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  const ScopedSelect select_image(source.get(), image);
  CopyPicture(dc, source.get(), image, picture, 0, 0);
}

void ModelRenderer::PaintFrame(HDC dc, POINT origin, SIZE size, COLORREF fill) {
  const RECT all{0, 0, size.cx, size.cy};
  FillRect(dc, &all, UniqueBrush(CreateSolidBrush(fill)).get());
  if (!image_source_) return;
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  for (const FramePiece& piece : model_.frame) {
    // Only the pieces that reach this surface: a small label under the header needs one or
    // two of the frame's pieces, not all of them clipped away one by one.
    if (piece.left - origin.x >= size.cx || piece.top - origin.y >= size.cy || piece.left + piece.width <= origin.x ||
        piece.top + piece.height <= origin.y) {
      continue;
    }
    HBITMAP image = image_source_(piece.source.slot);
    if (!image) continue;
    const ScopedSelect select_image(source.get(), image);
    PictureSource stretched = piece.source;
    stretched.target_width = piece.width;
    stretched.target_height = piece.height;
    CopyPicture(dc, source.get(), image, stretched, piece.left - origin.x, piece.top - origin.y);
  }
}

HDC ModelRenderer::Surface(HDC window_dc, SIZE size) {
  if (!surface_dc_) surface_dc_.reset(CreateCompatibleDC(window_dc));
  if (!surface_dc_) return nullptr;
  if (size.cx > surface_size_.cx || size.cy > surface_size_.cy) {
    const SIZE grown{std::max(size.cx, surface_size_.cx), std::max(size.cy, surface_size_.cy)};
    UniqueBitmap bigger(CreateCompatibleBitmap(window_dc, grown.cx, grown.cy));
    if (!bigger) return nullptr;
    const HGDIOBJ old = SelectObject(surface_dc_.get(), bigger.get());
    if (!surface_old_) surface_old_ = old;
    surface_ = std::move(bigger);  // the smaller one, now deselected, goes
    surface_size_ = grown;
  }
  return surface_dc_.get();
}

// Everything is drawn off screen first and reaches the window in one copy: no flicker. The
// controls share one surface; a big one (a container the size of the window) gets its own for
// the paint, so that the shared one stays small.
void ModelRenderer::Paint(const Item& item, HDC window_dc) {
  const Control& c = model_.controls()[item.index];
  RECT r{};
  GetClientRect(item.window(), &r);
  if (r.right <= 0 || r.bottom <= 0) return;
  UniqueMemoryDc own_dc;
  UniqueBitmap own_surface;
  std::optional<ScopedSelect> select_own;
  HDC dc = nullptr;
  if (static_cast<long long>(r.right) * r.bottom <= kSharedSurfacePixels) {
    dc = Surface(window_dc, SIZE{r.right, r.bottom});
  } else {
    own_dc.reset(CreateCompatibleDC(window_dc));
    own_surface.reset(CreateCompatibleBitmap(window_dc, r.right, r.bottom));
    if (own_dc && own_surface) {
      select_own.emplace(own_dc.get(), own_surface.get());
      dc = own_dc.get();
    }
  }
  if (!dc) return;
  if (c.transparent && c.parent.name.empty()) {
    PaintFrame(dc, POINT{c.left, c.top}, SIZE{r.right, r.bottom}, c.back_color);
  } else {
    Color back = c.back_color;
    if (c.transparent) {
      if (const Control* container = model_.Find(c.parent)) back = container->back_color;
    }
    FillRect(dc, &r, UniqueBrush(CreateSolidBrush(back)).get());
  }
  if (c.picture) PaintPicture(dc, *c.picture);
  if (c.kind == ControlKind::kCheckBox || c.kind == ControlKind::kButton || c.kind == ControlKind::kFrame) {
    PaintStandard(dc, c, r, item.pressed);
  } else if (!c.caption.empty()) {
    const ScopedSelect select_font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    // A disabled label greys its text; a picture box keeps its face (the selected header
    // button and tab are the disabled ones).
    const bool grey = !c.enabled && c.kind == ControlKind::kLabel;
    SetTextColor(dc, grey ? GetSysColor(COLOR_GRAYTEXT) : c.fore_color);
    const std::wstring text = ToWide(c.caption);
    UINT format = DT_NOPREFIX;
    // A label whose caption holds line breaks shows them as such, within its rectangle.
    const bool lines = c.caption.find(u'\n') != std::u16string::npos || c.caption.find(u'\r') != std::u16string::npos;
    if (c.kind == ControlKind::kLabel) format |= c.word_wrap || lines ? DT_WORDBREAK : DT_SINGLELINE;
    else format |= DT_SINGLELINE | DT_CENTER | DT_VCENTER;  // a caption centred on a button's face
    RECT text_box = r;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_box, format);
  }
  BitBlt(window_dc, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
}

LRESULT ModelRenderer::OnControlMessage(Item& item_ref, UINT message, WPARAM wparam, LPARAM lparam) {
  Item* const item = &item_ref;
  ModelRenderer& self = *this;
  const HWND hwnd = item->window();
  switch (message) {
    case WM_ERASEBKGND: return 1;
    // No border, no caption: nothing outside the client area to draw, and the system's default
    // costs a window DC each time under Wine (two dozen controls at every show and resize).
    case WM_NCPAINT: return 0;
    case WM_PAINT: {
      const PaintScope paint(hwnd);
      self.Paint(*item, paint.dc());
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_RBUTTONUP:
      if (self.on_mouse_) {
        const ControlId id = self.model_.controls()[item->index].id;
        const MouseEvent kind = message == WM_MOUSEMOVE                                    ? MouseEvent::kMove
                                : (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) ? MouseEvent::kDown
                                                                                           : MouseEvent::kUp;
        self.on_mouse_(id, kind, wparam, static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
      }
      if (message == WM_LBUTTONDOWN) {
        item->pressed = true;
        if (self.model_.controls()[item->index].kind == ControlKind::kButton) InvalidateRect(hwnd, nullptr, FALSE);
        // A button under the pointer holds the mouse already (its hover path took it).
        if (GetCapture() != hwnd) SetCapture(hwnd);
        // The keys of the player go to the window, not to a pane that had the focus.
        SetFocus(self.form_);
      }
      return 0;
    case WM_LBUTTONUP: {
      const bool was_pressed = item->pressed;
      item->pressed = false;
      if (was_pressed) InvalidateRect(hwnd, nullptr, FALSE);
      if (GetCapture() == hwnd) ReleaseCapture();
      RECT r{};
      GetClientRect(hwnd, &r);
      const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      const Control& c = self.model_.controls()[item->index];
      if (self.on_mouse_) self.on_mouse_(c.id, MouseEvent::kUp, wparam, at.x, at.y);
      if (was_pressed && PtInRect(&r, at) && c.enabled && self.on_click_) {
        const ControlId id = c.id;  // the handler may change the model
        self.on_click_(id);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      // Taking the mouse again for the same window (the hover path has it already when the
      // press comes) is no loss of it.
      if (reinterpret_cast<HWND>(lparam) != hwnd) item->pressed = false;
      return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

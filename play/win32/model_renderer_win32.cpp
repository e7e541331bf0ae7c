// Which controls get a window, where each control is in the window that hosts it, and what
// of the model reaches Windows at each sync.
#include "play/win32/model_renderer_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "common/win32/gdi_scope.h"
#include "common/win32/system_function.h"
#include "common/win32/trace.h"
#include "common/win32/wide.h"
#include "play/win32/drawn_controls_accessible_win32.h"
#include "play/win32/model_renderer_item_win32.h"

namespace {

constexpr long kFar = 1L << 20;  // the form's clip: it clips nothing
using UniqueRegion = UniqueAny<handle_traits::GdiObject<HRGN>>;

// Lines, labels and frames lie under the picture boxes of their container.
bool Lightweight(ControlKind kind) {
  return kind == ControlKind::kLabel || kind == ControlKind::kLine || kind == ControlKind::kFrame;
}

// Placed by their owners, in a window of their own.
bool External(ControlKind kind) { return kind == ControlKind::kWebBrowser || kind == ControlKind::kPlayer; }

// An image is drawn when it shows a picture of its own (the cover); the image holders of the
// skins and the buttons never are.
bool Drawn(const Control& c) { return !External(c.kind) && (c.kind != ControlKind::kImage || c.picture.has_value()); }

// The common controls load when the first tool tips are made (after the main window's first
// paint), not with the program: the first paint needs none of them.
void LoadCommonControls() {
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  const Init init = SystemFunction<Init>(L"comctl32.dll", "InitCommonControlsEx");
  if (!init || !init(&controls)) TraceLastError(L"InitCommonControlsEx");
}

// A control's window is moved without painting anything: what changed is painted once after
// every control is placed. Without SWP_DEFERERASE each move that changes a window's geometry
// erases its host and every window with an erase due, at once.
constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_DEFERERASE;

bool Intersects(const RECT& a, const RECT& b) {
  RECT both{};
  return IntersectRect(&both, &a, &b) != FALSE;
}

}  // namespace

ModelRenderer::ModelRenderer(HWND form, WindowModel& model, ClickHandler on_click, PlaceExternal place_external)
    : form_(form), model_(model), on_click_(std::move(on_click)), place_external_(std::move(place_external)) {
  // No CS_DBLCLKS: no control has a double-click action, and with it the second of two quick
  // presses (a pause and a play, two steps of a toggle) would come as a double click and be
  // lost as a click.
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kModelControlClass;
  Item::RegisterWindowClass(wc);
  font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体"));
  measure_dc_.reset(CreateCompatibleDC(nullptr));
  const auto& controls = model_.controls();
  const int count = static_cast<int>(controls.size());
  children_.resize(count + 1);
  for (int i = 0; i < count; ++i) {
    const Control& c = controls[i];
    int parent = -1;
    if (!c.parent.name.empty()) {
      if (const Control* container = model_.Find(c.parent)) parent = static_cast<int>(container - controls.data());
    }
    auto item = std::make_unique<Item>(*this, i, parent);
    item->drawn = Drawn(c);
    item->external = External(c.kind);
    // A real window can only lie inside a window.
    if (item->external && parent >= 0) items_[parent]->needs_window = true;
    items_.push_back(std::move(item));
  }
  for (int i = 0; i < count; ++i) {
    if (items_[i]->drawn) described_.push_back(i);
  }
  // Text first, then the picture boxes in the design's order: the later lie above.
  for (const bool light : {true, false}) {
    for (int i = 0; i < count; ++i) {
      if (Lightweight(controls[i].kind) != light) continue;
      const int parent = items_[i]->parent;
      children_[parent >= 0 ? parent : count].push_back(i);
    }
  }
  Sync();
}

// Children go before their containers, each window with the object that handles it.
ModelRenderer::~ModelRenderer() {
  // A window that goes with its control may hear that it lost the mouse: no control holds it.
  captured_ = nullptr;
  if (accessible_) accessible_->Detach();
  while (!items_.empty()) items_.pop_back();
}

bool ModelRenderer::HasWindow(const Item& item) const { return item.needs_window; }

HWND ModelRenderer::WindowOf(const ControlId& id) {
  Item* item = ItemOf(id);
  return item ? Realize(*item) : nullptr;
}

ModelRenderer::Item* ModelRenderer::ItemOf(const ControlId& id) {
  const auto& controls = model_.controls();
  for (std::size_t i = 0; i < controls.size() && i < items_.size(); ++i) {
    if (controls[i].id == id) return items_[i].get();
  }
  return nullptr;
}

HWND ModelRenderer::HostWindow(const Item& item) const {
  return item.host_item < 0 ? form_ : items_[item.host_item]->window();
}

// Where every control is in the window that hosts it, what of it can be seen there (its
// containers clip it) and whether it shows. Containers come before what they hold.
void ModelRenderer::Layout() {
  const auto& controls = model_.controls();
  for (auto& item_ptr : items_) {
    Item& item = *item_ptr;
    const Control& c = controls[item.index];
    POINT origin{0, 0};
    RECT clip{-kFar, -kFar, kFar, kFar};
    item.host_item = -1;
    item.showing = c.visible;
    if (item.parent >= 0) {
      const Item& parent = *items_[item.parent];
      item.showing = item.showing && parent.showing;
      if (HasWindow(parent)) {
        item.host_item = parent.index;
        clip = RECT{0, 0, parent.place.right - parent.place.left, parent.place.bottom - parent.place.top};
      } else {
        item.host_item = parent.host_item;
        origin = POINT{parent.place.left, parent.place.top};
        clip = parent.visible;
      }
    }
    item.place = RECT{origin.x + c.left, origin.y + c.top, origin.x + c.right(), origin.y + c.bottom()};
    if (!IntersectRect(&item.visible, &item.place, &clip)) item.visible = RECT{};
  }
}

// A drawn control that shows over a window of its host (a cover over the player, the balloon
// over a pane) would be hidden by it: it gets a window of its own, above that one. Returns
// whether one did.
bool ModelRenderer::TakeWindowsWhereCovered() {
  std::vector<const Item*> windows;
  for (const auto& item : items_) {
    if ((HasWindow(*item) || item->external) && item->showing) windows.push_back(item.get());
  }
  bool took = false;
  std::vector<bool> took_now(items_.size());
  for (auto& item_ptr : items_) {
    Item& item = *item_ptr;
    if (!item.drawn || HasWindow(item) || !item.showing) continue;
    // What a control that took a window just now holds is drawn on that window: it is looked
    // at again in the next round, where its host is known.
    bool held = false;
    for (int up = item.parent; up >= 0 && !held; up = items_[up]->parent) held = took_now[up];
    if (held) continue;
    for (const Item* below : windows) {
      if (below->index >= item.index) break;
      if (below->host_item != item.host_item || !Intersects(below->visible, item.visible)) continue;
      // Not when the window lies inside this control: that one is above it anyway.
      bool inside = false;
      for (int up = below->parent; up >= 0 && !inside; up = items_[up]->parent) inside = up == item.index;
      if (inside) continue;
      item.needs_window = true;
      took_now[item.index] = true;
      took = true;
      break;
    }
  }
  return took;
}

// Windows are made when a control that needs one first shows, or when its window is asked
// for (a container of a pane or of the player): a window no one has seen costs nothing at start.
HWND ModelRenderer::Realize(Item& item) {
  if (item.window()) return item.window();
  if (!HasWindow(item)) return nullptr;
  if (item.host_item >= 0 && !Realize(*items_[item.host_item])) return nullptr;
  const HWND host = HostWindow(item);
  item.Create(item.place, host);
  const HWND created = item.window();
  if (!created) return nullptr;
  // Among the windows of a host the later rows of the design lie above the earlier ones; text
  // lies at the bottom.
  const Control& c = model_.controls()[item.index];
  HWND insert_after = Lightweight(c.kind) ? HWND_BOTTOM : HWND_TOP;
  for (std::size_t i = item.index + 1; insert_after == HWND_TOP && i < items_.size(); ++i) {
    const HWND later = items_[i]->window();
    if (later && GetParent(later) == host && !Lightweight(model_.controls()[i].kind)) insert_after = later;
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
  // A new frame repaints the window's own surface and what is drawn on it.
  const bool frame_changed = model_.frame != applied_frame_;
  if (frame_changed) {
    applied_frame_ = model_.frame;
    InvalidateRect(form_, nullptr, FALSE);
  }
  // An auto-sized label takes the size of its text, as its Width and Height then read.
  for (auto& item : items_) {
    Control& c = controls[item->index];
    if (c.kind == ControlKind::kLabel && c.auto_size && !c.word_wrap &&
        (item->measured_first || c.caption != item->measured_caption)) {
      const SIZE size = MeasureText(c.caption);
      c.width = size.cx;
      c.height = std::max<long>(size.cy, 12);
      item->measured_caption = c.caption;
      item->measured_first = false;
    }
  }
  Layout();
  for (int round = 0; round < 8 && TakeWindowsWhereCovered(); ++round) Layout();
  for (auto& item : items_) {
    if (HasWindow(*item) && item->showing) Realize(*item);
  }

  // What changed is painted once, after every control is placed (a resize moves dozens).
  // Where a window moved without its pixels, the windows inside it are painted again too; a
  // drawn control's change repaints its host alone.
  std::map<std::pair<HWND, bool>, UniqueRegion> dirty;  // by host and whether with its children
  const auto add_dirty_region = [&dirty](HWND host, UniqueRegion piece, bool window_moved) {
    if (!host || !piece) return;
    UniqueRegion& region = dirty[{host, window_moved}];
    if (!region) region = std::move(piece);
    else CombineRgn(region.get(), region.get(), piece.get(), RGN_OR);
  };
  const auto add_dirty = [&add_dirty_region](HWND host, const RECT& r, bool window_moved = false) {
    if (!IsRectEmpty(&r)) add_dirty_region(host, UniqueRegion(CreateRectRgnIndirect(&r)), window_moved);
  };

  for (auto& item_ptr : items_) {
    Item& item = *item_ptr;
    const Control& c = controls[item.index];
    const Control& a = item.applied;
    const HWND host = HostWindow(item);
    const bool moved = item.first || !EqualRect(&item.place, &item.applied_place) || host != item.applied_host;
    const bool shown_changed = item.first || item.showing != item.applied_showing;
    const bool looks_changed = item.first || c.caption != a.caption || c.back_color != a.back_color ||
                               c.fore_color != a.fore_color || c.enabled != a.enabled || c.picture != a.picture ||
                               c.checked != a.checked;
    // A window nobody sees is not moved at each step of a border drag: it is placed when it
    // shows (its last place stays what was applied, so the move is still due then).
    const bool unseen = HasWindow(item) && !item.first && !item.showing && !item.applied_showing;
    if (item.external) {
      if ((moved || c.visible != a.visible || shown_changed) && place_external_) {
        const HWND container = item.parent >= 0 ? Realize(*items_[item.parent]) : form_;
        place_external_(c, container ? container : form_, item.showing);
        // The pane moves without a repaint of its own: where it was and where it is are
        // painted with the rest, each window where it shows.
        if (moved && !item.first && container) {
          if (item.showing) add_dirty(container, RECT{c.left, c.top, c.left + c.width, c.top + c.height}, true);
          if (item.applied_showing) add_dirty(container, RECT{a.left, a.top, a.left + a.width, a.top + a.height}, true);
        }
      }
    } else if (!item.drawn) {
      // An image holder: nothing on the screen.
    } else if (HasWindow(item)) {
      const HWND window = item.window();
      if (!window) continue;  // not made yet: nothing on the screen to change
      // Drawn on its host until it took a window of its own.
      if (!item.applied_windowed && item.applied_showing) add_dirty(item.applied_host, item.applied_visible);
      if (unseen) {
        // Hidden, and placed when it shows.
      } else if (moved) {
        if (GetParent(window) != host) SetParent(window, host);
        SetWindowPos(window, nullptr, item.place.left, item.place.top, c.width, c.height, kPlaceFlags | SWP_NOCOPYBITS);
        add_dirty(host, item.place, true);
        if (!item.first && item.applied_windowed) add_dirty(item.applied_host, item.applied_place, true);
      }
      // A container without a window of its own still clips what it holds.
      RECT clip = item.visible;
      OffsetRect(&clip, -item.place.left, -item.place.top);
      // The region is the window's own: a window that moves keeps it. A new one costs a change
      // of the window's frame, and a repaint of what lies below.
      const bool whole = EqualRect(&item.visible, &item.place) != FALSE;
      if (!unseen && (whole != item.applied_clip_whole || (!whole && !EqualRect(&clip, &item.applied_clip)))) {
        SetWindowRgn(window, whole ? nullptr : CreateRectRgnIndirect(&clip), FALSE);
        item.applied_clip = clip;
        item.applied_clip_whole = whole;
      }
      if (shown_changed) ShowWindow(window, item.showing ? SW_SHOWNA : SW_HIDE);
      if (looks_changed || (frame_changed && c.transparent)) InvalidateRect(window, nullptr, FALSE);
      // The caption is the window's text too; a picture button without one is named by its
      // tool tip ("播放", "计划关机").
      if (item.first || c.caption != a.caption || (c.caption.empty() && c.tool_tip != a.tool_tip)) {
        SetWindowTextW(window, ToWide(c.caption.empty() ? c.tool_tip : c.caption).c_str());
      }
    } else {
      const bool place_changed = moved || shown_changed || !EqualRect(&item.visible, &item.applied_visible);
      if (place_changed) {
        if (item.applied_showing && !item.first) add_dirty(item.applied_host, item.applied_visible);
        if (item.showing) add_dirty(host, item.visible);
      } else if (looks_changed && item.showing) {
        add_dirty(host, item.visible);
      }
    }
    if (item.drawn) UpdateTool(item);
    item.applied = c;
    if (!unseen) {
      item.applied_host = host;
      item.applied_place = item.place;
    }
    item.applied_visible = item.visible;
    item.applied_showing = item.showing;
    item.applied_windowed = HasWindow(item);
    item.first = false;
  }
  for (const auto& [where, region] : dirty) {
    const auto [host, with_children] = where;
    // A container whose changed part lies all under the windows it holds (its pane) is not
    // asked to paint: each paint is a round of messages. The form is not looked at: a change
    // on it is seldom all under a window, and its changes come with the timers' ticks.
    if (with_children) {
      InvalidateWhereShown(host, region.get(), RDW_INVALIDATE);
    } else if (host == form_ || ExcludeShownChildren(host, region.get())) {
      RedrawWindow(host, nullptr, region.get(), RDW_INVALIDATE | RDW_NOCHILDREN);
    }
  }
}

namespace {
// What a shown window inside `host` covers of it, in the host's client pixels: its own region
// when it has one, else its rectangle; null when it covers nothing. A transparent window lets
// what lies below show through, so it covers nothing.
UniqueRegion CoveredBy(HWND host, HWND child) {
  RECT r{};
  if (!IsWindowVisible(child) || (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT) ||
      !GetWindowRect(child, &r)) {
    return UniqueRegion();
  }
  MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
  UniqueRegion covered(CreateRectRgn(0, 0, 0, 0));
  if (!covered) return UniqueRegion();
  const int own = GetWindowRgn(child, covered.get());
  if (own == NULLREGION) return UniqueRegion();
  if (own == ERROR) SetRectRgn(covered.get(), r.left, r.top, r.right, r.bottom);
  else OffsetRgn(covered.get(), r.left, r.top);
  return covered;
}
}  // namespace

bool ModelRenderer::ExcludeShownChildren(HWND host, HRGN region) {
  for (HWND child = GetWindow(host, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const UniqueRegion covered = CoveredBy(host, child);
    if (covered && CombineRgn(region, region, covered.get(), RGN_DIFF) == NULLREGION) return false;
  }
  return true;
}

void ModelRenderer::InvalidateWhereShown(HWND window, HRGN region, UINT flags) {
  // Each paint is a round of messages: in a border drag, the containers under their panes and
  // the panes under their lists were half the windows painted at each step.
  RECT box{};
  for (HWND child = GetWindow(window, GW_CHILD); child && GetRgnBox(region, &box) != NULLREGION;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    if (!IsWindowVisible(child) || !GetWindowRect(child, &r)) continue;
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    if (!IntersectRect(&r, &r, &box)) continue;
    UniqueRegion part(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    if (!part || CombineRgn(part.get(), part.get(), region, RGN_AND) == NULLREGION) continue;
    if (const UniqueRegion covered = CoveredBy(window, child)) {
      CombineRgn(region, region, covered.get(), RGN_DIFF);
    }
    // In the child's client pixels; its frame lies at negative ones.
    POINT origin{0, 0};
    MapWindowPoints(child, window, &origin, 1);
    OffsetRgn(part.get(), -origin.x, -origin.y);
    InvalidateWhereShown(child, part.get(), RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
  }
  if (GetRgnBox(region, &box) != NULLREGION) RedrawWindow(window, nullptr, region, flags | RDW_NOCHILDREN);
}

void ModelRenderer::ShowToolTips() {
  if (tooltip_) return;
  LoadCommonControls();
  tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  for (auto& item : items_) {
    if (item->drawn) UpdateTool(*item);
  }
}

HWND ModelRenderer::MouseWindow(const Item& item) const { return HasWindow(item) ? item.window() : HostWindow(item); }

void ModelRenderer::RemoveTool(Item& item) {
  if (!item.tool_host) return;
  TOOLINFOW tool{sizeof tool};
  tool.hwnd = item.tool_host;
  tool.uId = static_cast<UINT_PTR>(item.index) + 1;
  SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  item.tool_host = nullptr;
}

// A drawn control's tool is its rectangle of the window that hosts it; one with a window has
// its whole window.
void ModelRenderer::UpdateTool(Item& item) {
  if (!tooltip_) return;
  const Control& c = model_.controls()[item.index];
  const bool wanted = item.showing && !c.tool_tip.empty() && c.system_tip;
  const HWND window = wanted ? MouseWindow(item) : nullptr;
  RECT rect = item.visible;
  if (window && HasWindow(item)) GetClientRect(window, &rect);
  if (window == item.tool_host && (!window || (EqualRect(&rect, &item.tool_rect) && c.tool_tip == item.tool_text)))
    return;
  std::wstring text = ToWide(c.tool_tip);
  TOOLINFOW tool{sizeof tool};
  tool.hwnd = window;
  tool.uId = static_cast<UINT_PTR>(item.index) + 1;
  tool.uFlags = TTF_SUBCLASS;
  tool.rect = rect;
  tool.lpszText = text.data();
  // A tool that stays in its window is changed in place: taken away and added again, it would
  // hide the tip showing (a text that changes every second, the played time, would hide every
  // tip each second).
  if (window && window == item.tool_host && !IsRectEmpty(&rect)) {
    if (!EqualRect(&rect, &item.tool_rect))
      SendMessageW(tooltip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    if (c.tool_tip != item.tool_text)
      SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    item.tool_rect = rect;
    item.tool_text = c.tool_tip;
    return;
  }
  RemoveTool(item);
  if (!window || IsRectEmpty(&rect)) return;
  if (SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    item.tool_host = window;
    item.tool_rect = rect;
    item.tool_text = c.tool_tip;
  }
}

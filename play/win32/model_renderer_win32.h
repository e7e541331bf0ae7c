#pragma once
// Mirrors a window model onto the screen: places, shows and paints its controls, shows tool
// tips, and reports clicks and mouse events back by control name and index.
//
// Most controls have no window of their own: they are drawn into the window that hosts them
// (the form, or the nearest container that has a window) and found under the pointer by the
// renderer. A container gets a window only where a real window must lie inside it (a browser
// pane, the player's host) or where it shows over one. Each child window costs its creation,
// a paint and a move at every resize under Wine; drawn controls cost a rectangle.
// Screen readers (and the tests) find the drawn controls through the form's accessible object.
// Sync() is cheap when little changed: only what differs from the last sync reaches Windows.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "common/win32/unique_handle.h"
#include "play/model/window_model.h"
#include "play/win32/kept_surface_win32.h"

class DrawnControlsAccessible;

class ModelRenderer {
 public:
  using ClickHandler = std::function<void(const ControlId&)>;
  enum class MouseEvent { kDown, kMove, kUp };
  // Mouse events of a drawn control: which, the buttons held (MK_ flags) and the point in the
  // control's own pixels.
  using MouseHandler = std::function<void(const ControlId&, MouseEvent, WPARAM buttons, long x, long y)>;
  // The bitmap that holds an image slot's pictures ("ppt(1)", "but(4)"), or nullptr.
  using ImageSource = std::function<HBITMAP(const std::u16string& slot)>;
  // Controls that are not drawn by the renderer (browser panes, the player's host) are
  // placed by their owner: called with the control, its container's window and whether it
  // shows (it and every container visible) on each change.
  using PlaceExternal = std::function<void(const Control&, HWND container, bool showing)>;

  ModelRenderer(HWND form, WindowModel& model, ClickHandler on_click, PlaceExternal place_external);
  ~ModelRenderer();
  ModelRenderer(const ModelRenderer&) = delete;
  ModelRenderer& operator=(const ModelRenderer&) = delete;

  void Sync();
  // Makes the tool tips of the drawn controls (they need the common controls, which the first
  // paint does not): until then no control shows one.
  void ShowToolTips();
  // Paints the window's frame (the model's frame pieces) into `dc`, whose origin is the point
  // `origin` of the window; what no piece covers takes `fill`.
  void PaintFrame(HDC dc, POINT origin, SIZE size, COLORREF fill);
  // The form's WM_PAINT: its frame (or `fill`) and the controls drawn on it, off screen first.
  void PaintForm(COLORREF fill);
  // The form's messages the renderer answers: the mouse over its drawn controls, the pointer's
  // shape there, the loss of the mouse and the accessible object. Others (and the mouse over
  // no control) are left to the form.
  std::optional<LRESULT> OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void SetMouseHandler(MouseHandler handler) { on_mouse_ = std::move(handler); }
  void SetImageSource(ImageSource source) { image_source_ = std::move(source); }
  // The window of a control that has one (the containers of panes and of the player), made
  // now if it was not yet; nullptr for the drawn controls and the others.
  HWND WindowOf(const ControlId& id);
  // The mouse goes to this control until released (or until another window takes it).
  void CaptureMouse(const ControlId& id);
  HFONT font() const { return font_.get(); }
  // A caption's size in the controls' font, as an auto-sized label takes it.
  SIZE MeasureText(std::u16string_view text);

  // What screen readers see of a drawn control (1-based, in the model's order; the image
  // holders, panes and the player are none).
  struct Described {
    ControlKind kind = ControlKind::kPictureBox;
    std::u16string name;         // the caption, else the tool tip
    std::u16string description;  // the tool tip
    RECT screen{};               // on the screen; empty when not shown
    bool showing = false;
    bool enabled = true;
    bool checked = false;
    bool pressed = false;
    bool container = false;
  };
  int DescribedCount() const;
  std::optional<Described> Describe(int child) const;
  // The 1-based child at a point of the screen, or 0.
  int DescribedAt(POINT screen) const;
  // The default action of a child: a click, as the mouse gives it.
  void ClickDescribed(int child);

 private:
  class Item;
  LRESULT OnWindowMessage(Item& item, UINT message, WPARAM wparam, LPARAM lparam);
  // Routes a mouse message of a host window to the drawn control under the pointer or holding
  // the mouse; false when none is there.
  bool RouteMouse(HWND host, UINT message, WPARAM wparam, LPARAM lparam);
  void ControlMouse(Item& item, HWND host, UINT message, WPARAM wparam, POINT at);
  void LoseMouse(HWND host);
  Item* HitTest(HWND host, POINT at);
  Item* HitIn(int parent, HWND host, POINT at);
  Item* ItemOf(const ControlId& id);
  bool HasWindow(const Item& item) const;
  // The window a control is drawn on: the form or a container's window.
  HWND HostWindow(const Item& item) const;
  // The window whose mouse messages are the control's: its own, else its host's.
  HWND MouseWindow(const Item& item) const;
  HWND Realize(Item& item);
  void Layout();
  // Takes what the visible child windows of `host` cover out of `region`; false when nothing
  // is left.
  static bool ExcludeShownChildren(HWND host, HRGN region);
  // Invalidates `region` (client pixels of `window`) where the window shows it, with `flags`,
  // and in each window inside where that one shows it, with its frame and background, down to
  // the last: what RDW_ALLCHILDREN does, but a window all under the windows it holds (a
  // container under its pane, a pane under its list) is not asked to paint.
  static void InvalidateWhereShown(HWND window, HRGN region, UINT flags);
  bool TakeWindowsWhereCovered();
  void PaintHosted(HWND host, int parent, HDC dc, const RECT& dirty);
  void PaintFace(const Item& item, HDC dc, RECT r);
  void PaintItemWindow(Item& item);
  // The DC that pictures are selected into to be copied.
  HDC PictureDc(HDC like);
  void PaintPicture(HDC dc, const PictureSource& picture);
  void PaintStandard(HDC dc, const Control& c, RECT r, bool pressed);
  void UpdateTool(Item& item);
  void RemoveTool(Item& item);

  HWND form_;
  WindowModel& model_;
  ClickHandler on_click_;
  MouseHandler on_mouse_;
  ImageSource image_source_;
  PlaceExternal place_external_;
  UniqueFont font_;
  UniqueMemoryDc measure_dc_;
  // One off-screen surface for every control's paint, grown to the largest asked for: a
  // surface made and freed per paint was most of a control's paint time.
  KeptSurface shared_surface_;
  // The form's own surface is kept only while the user drags its border, when the form paints
  // at every step; at other times the memory of a whole window's surface is not held.
  KeptSurface form_surface_;
  bool live_resize_ = false;
  // The DC the pictures are copied from: made once, not once per picture.
  UniqueMemoryDc picture_dc_;
  UniqueWindow tooltip_;
  std::vector<std::unique_ptr<Item>> items_;
  std::vector<std::vector<int>> children_;  // per item (and the form, last), in paint order
  std::vector<int> described_;              // the drawn items, as screen readers number them
  Item* captured_ = nullptr;                // the drawn control that holds the mouse
  std::vector<FramePiece> applied_frame_;
  DrawnControlsAccessible* accessible_ = nullptr;  // made on the first request, ours to detach
};

#pragma once
// Mirrors a window model into real child windows: places and shows them, paints back colours,
// captions and pictures, shows tool tips, and reports clicks back by control name and index.
// Sync() is cheap when little changed: only what differs from the last sync reaches Windows.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "common/win32/unique_handle.h"
#include "play/model/window_model.h"

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
  // placed by their owner: called with the control and its container's window on each change.
  using PlaceExternal = std::function<void(const Control&, HWND container)>;

  ModelRenderer(HWND form, WindowModel& model, ClickHandler on_click, PlaceExternal place_external);
  ~ModelRenderer();
  ModelRenderer(const ModelRenderer&) = delete;
  ModelRenderer& operator=(const ModelRenderer&) = delete;

  void Sync();
  // Paints the window's frame (the model's frame pieces) into `dc`, whose origin is the point
  // `origin` of the window; what no piece covers takes `fill`.
  void PaintFrame(HDC dc, POINT origin, SIZE size, COLORREF fill);
  void SetMouseHandler(MouseHandler handler) { on_mouse_ = std::move(handler); }
  void SetImageSource(ImageSource source) { image_source_ = std::move(source); }
  // The window of a drawn control (containers included), made now if it was not yet;
  // nullptr for the others.
  HWND WindowOf(const ControlId& id);
  HFONT font() const { return font_.get(); }
  // A caption's size in the controls' font, as an auto-sized label takes it.
  SIZE MeasureText(std::u16string_view text);

 private:
  class Item;
  LRESULT OnControlMessage(Item& item, UINT message, WPARAM wparam, LPARAM lparam);
  Item* ItemOf(const ControlId& id);
  bool Showing(const Control& control);
  HWND Realize(Item& item);
  void Paint(const Item& item, HDC dc);
  // The shared off-screen surface, at least `size` big, selected into its DC; null when out of memory.
  HDC Surface(HDC window_dc, SIZE size);
  void PaintPicture(HDC dc, const PictureSource& picture);
  void PaintStandard(HDC dc, const Control& c, RECT r, bool pressed);
  void UpdateTool(Item& item);

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
  UniqueMemoryDc surface_dc_;
  UniqueBitmap surface_;
  SIZE surface_size_{};
  HGDIOBJ surface_old_ = nullptr;
  UniqueWindow tooltip_;
  std::vector<std::unique_ptr<Item>> items_;
  std::vector<FramePiece> applied_frame_;
};

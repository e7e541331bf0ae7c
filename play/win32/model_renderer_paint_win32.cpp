// How the renderer paints: the form's frame, each control's face, and the drawn controls of a
// window in their order, everything off screen first and copied in one step (no flicker).
#include <algorithm>

#include "common/win32/gdi_scope.h"
#include "common/win32/wide.h"
#include "play/win32/model_renderer_item_win32.h"

namespace {

constexpr long long kSharedSurfacePixels = 400 * 300;  // the shared paint surface's largest size

// A 32-bit picture carries its own (premultiplied) alpha and is blended over what is below.
bool HasAlpha(HBITMAP image) {
  BITMAP info{};
  return GetObjectW(image, sizeof info, &info) == sizeof info && info.bmBitsPixel == 32;
}

// A plain colour with the DC's own brush: a brush made and freed per fill costs more than the fill.
void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  SetDCBrushColor(dc, color);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
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
      FillSolid(dc, caption, c.back_color);
      OffsetRect(&caption, 2, 0);
      DrawTextW(dc, text.c_str(), length, &caption, DT_SINGLELINE | DT_NOPREFIX);
    }
  }
}

void ModelRenderer::PaintPicture(HDC dc, const PictureSource& picture) {
  if (!image_source_) return;
  HBITMAP image = image_source_(picture.slot);
  const HDC source = image ? PictureDc(dc) : nullptr;
  if (!source) return;
  const ScopedSelect select_image(source, image);
  CopyPicture(dc, source, image, picture, 0, 0);
}

void ModelRenderer::PaintFrame(HDC dc, POINT origin, SIZE size, COLORREF fill) {
  const RECT all{0, 0, size.cx, size.cy};
  FillSolid(dc, all, fill);
  const HDC source = image_source_ ? PictureDc(dc) : nullptr;
  if (!source) return;
  for (const FramePiece& piece : model_.frame) {
    // Only the pieces that reach this surface: a small label under the header needs one or
    // two of the frame's pieces, not all of them clipped away one by one.
    if (piece.left - origin.x >= size.cx || piece.top - origin.y >= size.cy || piece.left + piece.width <= origin.x ||
        piece.top + piece.height <= origin.y) {
      continue;
    }
    HBITMAP image = image_source_(piece.source.slot);
    if (!image) continue;
    const ScopedSelect select_image(source, image);
    PictureSource stretched = piece.source;
    stretched.target_width = piece.width;
    stretched.target_height = piece.height;
    CopyPicture(dc, source, image, stretched, piece.left - origin.x, piece.top - origin.y);
  }
}

HDC ModelRenderer::PictureDc(HDC like) {
  if (!picture_dc_) picture_dc_.reset(CreateCompatibleDC(like));
  return picture_dc_.get();
}

// A control's own face at the origin of `dc`, `r` big: its back colour (or what shows
// through), its picture, its caption.
void ModelRenderer::PaintFace(const Item& item, HDC dc, RECT r) {
  const Control& c = model_.controls()[item.index];
  if (c.transparent && c.parent.name.empty()) {
    // Drawn on the form, the frame is below it already.
    if (HasWindow(item)) PaintFrame(dc, POINT{item.place.left, item.place.top}, SIZE{r.right, r.bottom}, c.back_color);
  } else {
    Color back = c.back_color;
    if (c.transparent) {
      if (const Control* container = model_.Find(c.parent)) back = container->back_color;
    }
    FillSolid(dc, r, back);
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
}

// The drawn controls inside `parent` (the form: -1) that `host` shows, each clipped to what
// its containers let be seen, then what each holds: `dc` is in the host's client pixels.
void ModelRenderer::PaintHosted(HWND host, int parent, HDC dc, const RECT& dirty) {
  for (const int index : children_[parent >= 0 ? parent : items_.size()]) {
    const Item& item = *items_[index];
    if (!item.drawn || !item.showing || HasWindow(item) || HostWindow(item) != host) continue;
    RECT seen{};
    if (!IntersectRect(&seen, &item.visible, &dirty)) continue;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, seen.left, seen.top, seen.right, seen.bottom);
    OffsetViewportOrgEx(dc, item.place.left, item.place.top, nullptr);
    PaintFace(item, dc, RECT{0, 0, item.place.right - item.place.left, item.place.bottom - item.place.top});
    RestoreDC(dc, saved);
    PaintHosted(host, index, dc, seen);
  }
}

// The form: its frame and the controls drawn on it, for the part that needs painting.
void ModelRenderer::PaintForm(COLORREF fill) {
  const PaintScope paint(form_);
  RECT client{};
  GetClientRect(form_, &client);
  RECT dirty{};
  if (!IntersectRect(&dirty, &paint.dirty(), &client)) return;
  const SIZE size{dirty.right - dirty.left, dirty.bottom - dirty.top};
  // While the border is dragged, the surface stays from step to step, with room to grow.
  KeptSurface one_paint;
  const HDC dc = (live_resize_ ? form_surface_ : one_paint).Get(paint.dc(), size, live_resize_ ? 128 : 0);
  if (!dc) return;
  SelectClipRgn(dc, nullptr);
  // What the containers' windows cover never reaches the screen: the frame's pieces are not
  // stretched there (most of a big window is the catalogue's container).
  for (const auto& item : items_) {
    if (HasWindow(*item) && item->showing && HostWindow(*item) == form_ && item->window() &&
        IsWindowVisible(item->window())) {
      ExcludeClipRect(dc, item->visible.left - dirty.left, item->visible.top - dirty.top,
                      item->visible.right - dirty.left, item->visible.bottom - dirty.top);
    }
  }
  PaintFrame(dc, POINT{dirty.left, dirty.top}, size, fill);
  SetViewportOrgEx(dc, -dirty.left, -dirty.top, nullptr);
  PaintHosted(form_, -1, dc, dirty);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  BitBlt(paint.dc(), dirty.left, dirty.top, size.cx, size.cy, dc, 0, 0, SRCCOPY);
}

// A control with a window of its own: its face and the controls drawn on it. The controls
// share one surface; a big one (a container the size of the window) gets its own for the
// paint, so that the shared one stays small.
void ModelRenderer::PaintItemWindow(Item& item) {
  const PaintScope paint(item.window());
  RECT r{};
  GetClientRect(item.window(), &r);
  // Only the part that can be seen is painted: a container that a pane covers all over (the
  // catalogue's) paints nothing, and one that grew paints its face where it shows.
  RECT seen{};
  if (r.right <= 0 || r.bottom <= 0 || GetClipBox(paint.dc(), &seen) <= NULLREGION ||
      !IntersectRect(&seen, &seen, &r)) {
    return;
  }
  const SIZE size{seen.right - seen.left, seen.bottom - seen.top};
  KeptSurface one_paint;
  const bool shared = static_cast<long long>(size.cx) * size.cy <= kSharedSurfacePixels;
  const HDC dc = (shared ? shared_surface_ : one_paint).Get(paint.dc(), size);
  if (!dc) return;
  // The surface holds the seen part: the face is painted in the window's own pixels.
  SetViewportOrgEx(dc, -seen.left, -seen.top, nullptr);
  PaintFace(item, dc, r);
  PaintHosted(item.window(), item.index, dc, seen);
  BitBlt(paint.dc(), seen.left, seen.top, size.cx, size.cy, dc, seen.left, seen.top, SRCCOPY);
  SetViewportOrgEx(dc, 0, 0, nullptr);
}

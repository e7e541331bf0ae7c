#include "tip_popup/win32/skin_painter_win32.h"

#include <string>

#include "common/win32/gdi_scope.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"
#include "tip_popup/win32/skin_image_win32.h"

namespace {

// Selects a bitmap into a memory DC for as long as it lives.
class BitmapDc {
 public:
  BitmapDc(HDC reference, HBITMAP bitmap) : dc_(CreateCompatibleDC(reference)), select_(dc_.get(), bitmap) {}
  HDC get() const { return dc_.get(); }

 private:
  UniqueMemoryDc dc_;
  ScopedSelect select_;
};

const Win32SkinImage* ImageOf(const SkinElement& element) {
  return static_cast<const Win32SkinImage*>(element.image.get());
}

void DrawImage(HDC dc, const SkinElement& element) {
  const Win32SkinImage* image = ImageOf(element);
  if (!image) return;
  BitmapDc source(dc, image->bitmap());
  BitBlt(dc, element.rect.left, element.rect.top, image->width(), image->height(), source.get(), 0, 0, SRCCOPY);
}

void DrawButton(HDC dc, const SkinElement& element, const SkinFonts& fonts, HINSTANCE strings) {
  if (const Win32SkinImage* image = ImageOf(element)) {
    const long frame_width = image->width() / 4;
    const int frame = element.pressed ? 2 : element.over ? 1 : 0;
    BitmapDc source(dc, image->bitmap());
    StretchBlt(dc, element.rect.left, element.rect.top, element.rect.width(), element.rect.height(), source.get(),
               frame * frame_width, 0, frame_width, image->height(), SRCCOPY);
  }
  if (element.caption_string == 0) return;
  std::wstring caption = LoadTableString(strings, element.caption_string);
  if (caption.empty()) return;
  RECT band{static_cast<LONG>(element.rect.left + element.text_left),
            static_cast<LONG>(element.rect.top + element.text_top), element.rect.right, element.rect.bottom};
  const ScopedSelect select_font(dc, fonts.normal);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, element.text_color);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &band, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void DrawTextLine(HDC dc, const SkinElement& element, const SkinFonts& fonts) {
  if (!element.image || element.text.empty()) return;
  DrawImage(dc, element);
  RECT area{element.rect.left, element.rect.top, element.rect.right, element.rect.bottom};
  const ScopedSelect select_font(dc, element.over ? fonts.hover : fonts.normal);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, element.over ? element.over_color : element.text_color);
  const std::wstring text = ToWide(element.text);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

std::wstring LoadTableString(HINSTANCE instance, int id) {
  wchar_t buffer[260] = {};
  const int length = LoadStringW(instance, static_cast<UINT>(id), buffer, 260);
  return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void PaintSkin(HDC dc, const SkinElement& element, const SkinFonts& fonts, HINSTANCE strings) {
  switch (element.kind()) {
    case SkinKind::kButton: DrawButton(dc, element, fonts, strings); break;
    case SkinKind::kTextLine: DrawTextLine(dc, element, fonts); break;
    case SkinKind::kPlain:
    case SkinKind::kWindowHolder: DrawImage(dc, element); break;
  }
  for (const SkinElement* child : element.LayeredChildren()) PaintSkin(dc, *child, fonts, strings);
}

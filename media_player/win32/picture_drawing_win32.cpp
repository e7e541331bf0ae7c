#include "media_player/win32/picture_drawing_win32.h"

#include <algorithm>

#include "common/win32/unique_handle.h"

namespace {

BITMAPINFO TopDown(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

void DrawRows(HDC dc, const PictureRect& place, int width, int first, int rows, const std::uint32_t* pixels) {
  if (rows <= 0) return;
  const BITMAPINFO info = TopDown(width, rows);
  SetDIBitsToDevice(dc, place.left, place.top + first, width, rows, 0, 0, 0, rows, pixels, &info, DIB_RGB_COLORS);
}

// A subtitle band over a stretched picture: through the system's alpha blend.
void BlendBand(HDC dc, const PictureRect& place, const SubtitleBand& band) {
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  const BITMAPINFO info = TopDown(band.width, band.height);
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return;
  std::copy(band.pixels.begin(), band.pixels.end(), static_cast<std::uint32_t*>(bits));
  const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, place.left, place.top + band.top, band.width, band.height, memory.get(), 0, 0, band.width,
                band.height, blend);
  SelectObject(memory.get(), old);
}

}  // namespace

void DrawPicture(HDC dc, const PictureRect& place, int width, int height, const std::uint32_t* pixels,
                 const RenderedSubtitle* subtitle) {
  const bool with_subtitle = subtitle && !subtitle->empty() && subtitle->picture_width == place.width &&
                             subtitle->picture_height == place.height;
  if (width != place.width || height != place.height) {
    const BITMAPINFO info = TopDown(width, height);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, place.left, place.top, place.width, place.height, 0, 0, width, height, pixels, &info,
                  DIB_RGB_COLORS, SRCCOPY);
    if (with_subtitle) {
      for (const SubtitleBand& band : subtitle->bands) BlendBand(dc, place, band);
    }
    return;
  }
  if (!with_subtitle) {
    DrawRows(dc, place, width, 0, height, pixels);
    return;
  }
  // The rows between the bands as they are, the bands' rows through a copy with the text.
  std::vector<SubtitleBand const*> bands;
  for (const SubtitleBand& band : subtitle->bands) bands.push_back(&band);
  std::sort(bands.begin(), bands.end(), [](auto* a, auto* b) { return a->top < b->top; });
  std::vector<std::uint32_t> copy;
  int row = 0;
  for (const SubtitleBand* band : bands) {
    const int top = std::clamp(band->top, row, height), bottom = std::clamp(band->top + band->height, top, height);
    DrawRows(dc, place, width, row, top - row, pixels + static_cast<std::size_t>(row) * width);
    copy.assign(pixels + static_cast<std::size_t>(top) * width, pixels + static_cast<std::size_t>(bottom) * width);
    BlendSubtitle(*subtitle, top, bottom - top, width, copy.data());
    DrawRows(dc, place, width, top, bottom - top, copy.data());
    row = bottom;
  }
  DrawRows(dc, place, width, row, height - row, pixels + static_cast<std::size_t>(row) * width);
}

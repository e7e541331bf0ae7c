#include "play/win32/bitmap_resources_win32.h"

#include <cstdlib>

namespace {

void PremultiplyAlpha(HBITMAP bitmap) {
  DIBSECTION dib{};
  if (GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32 || !dib.dsBm.bmBits) return;
  auto* pixel = static_cast<BYTE*>(dib.dsBm.bmBits);
  const long count = dib.dsBm.bmWidth * std::labs(dib.dsBm.bmHeight);
  for (long i = 0; i < count; ++i, pixel += 4) {
    const unsigned alpha = pixel[3];
    for (int channel = 0; channel < 3; ++channel) pixel[channel] = static_cast<BYTE>(pixel[channel] * alpha / 255);
  }
}

}  // namespace

HBITMAP BitmapResources::Get(int id) {
  if (id <= 0) return nullptr;
  auto found = loaded_.find(id);
  if (found != loaded_.end()) return found->second.get();
  UniqueBitmap bitmap(
      static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (bitmap) PremultiplyAlpha(bitmap.get());
  HBITMAP result = bitmap.get();
  loaded_.emplace(id, std::move(bitmap));  // a missing one is remembered as missing
  return result;
}

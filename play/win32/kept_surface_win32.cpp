#include "play/win32/kept_surface_win32.h"

#include <algorithm>

HDC KeptSurface::Get(HDC like, SIZE size, long slack) {
  if (!dc_) dc_.reset(CreateCompatibleDC(like));
  if (!dc_) return nullptr;
  if (size.cx > size_.cx || size.cy > size_.cy) {
    const SIZE grown{std::max(size.cx + (size.cx > size_.cx ? slack : 0), size_.cx),
                     std::max(size.cy + (size.cy > size_.cy ? slack : 0), size_.cy)};
    UniqueBitmap bigger(CreateCompatibleBitmap(like, grown.cx, grown.cy));
    if (!bigger) return nullptr;
    const HGDIOBJ previous = SelectObject(dc_.get(), bigger.get());
    if (!old_) old_ = previous;
    bitmap_ = std::move(bigger);  // the smaller one, now deselected, goes
    size_ = grown;
  }
  return dc_.get();
}

void KeptSurface::Release() {
  if (old_ && dc_) SelectObject(dc_.get(), old_);
  old_ = nullptr;
  bitmap_.reset();
  dc_.reset();
  size_ = SIZE{};
}

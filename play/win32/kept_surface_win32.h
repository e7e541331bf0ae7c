#pragma once
// An off-screen surface kept from one paint to the next and grown to the largest size asked
// for: making and freeing a DC and a bitmap for every paint costs more than most paints.
#include <windows.h>

#include "common/win32/unique_handle.h"

class KeptSurface {
 public:
  KeptSurface() = default;
  ~KeptSurface() { Release(); }
  KeptSurface(const KeptSurface&) = delete;
  KeptSurface& operator=(const KeptSurface&) = delete;

  // The surface's DC, compatible with `like`, with at least `size` pixels selected into it; a
  // surface that must grow grows by `slack` more in each direction, so that a window that
  // grows step by step does not get a new surface at every step. Null when out of memory.
  HDC Get(HDC like, SIZE size, long slack = 0);
  // The memory goes; the next Get makes a new surface.
  void Release();

 private:
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ old_ = nullptr;  // the DC's own bitmap, selected back before ours goes
  SIZE size_{};
};

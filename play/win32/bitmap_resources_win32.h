#pragma once
// The program's bitmap resources by number, loaded once and kept while the window lives.
// 32-bit pictures get their colours premultiplied by their alpha, as blending wants them.
#include <windows.h>

#include <map>

#include "common/win32/unique_handle.h"

class BitmapResources {
 public:
  explicit BitmapResources(HINSTANCE instance) : instance_(instance) {}
  // The bitmap, or nullptr when the program has no resource with that number.
  HBITMAP Get(int id);

 private:
  HINSTANCE instance_;
  std::map<int, UniqueBitmap> loaded_;
};

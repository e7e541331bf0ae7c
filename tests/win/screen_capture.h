#pragma once
// What the screen shows of a rectangle, read back once: its pixels, and a bitmap file of them.
#include <windows.h>

#include <filesystem>
#include <vector>

class ScreenShot {
 public:
  explicit ScreenShot(RECT r);
  // The colour at a point of the rectangle.
  COLORREF At(long x, long y) const;
  // Saves it as a 32-bit bitmap file.
  void Save(const std::filesystem::path& file) const;

 private:
  long width_, height_;
  std::vector<DWORD> pixels_;
};

#pragma once

// A rectangle in pixels: screen or work-area coordinates, or a window's client coordinates.
struct PixelRect {
  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;
  long width() const { return right - left; }
  long height() const { return bottom - top; }
  bool Contains(long x, long y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const PixelRect&) const = default;
};

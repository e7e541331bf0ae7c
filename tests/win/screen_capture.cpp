#include "tests/win/screen_capture.h"

#include <cstring>
#include <fstream>

ScreenShot::ScreenShot(RECT r) : width_(r.right - r.left), height_(r.bottom - r.top) {
  pixels_.resize(static_cast<std::size_t>(width_) * height_);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  if (bits) std::memcpy(pixels_.data(), bits, pixels_.size() * 4);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF ScreenShot::At(long x, long y) const {
  const DWORD bgrx = pixels_[static_cast<std::size_t>(y) * width_ + x];
  return RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
}

void ScreenShot::Save(const std::filesystem::path& file) const {
  BITMAPINFOHEADER header{sizeof header, width_, -height_, 1, 32, BI_RGB};
  const DWORD bytes = static_cast<DWORD>(pixels_.size() * 4);
  BITMAPFILEHEADER file_header{0x4D42, static_cast<DWORD>(sizeof file_header + sizeof header + bytes), 0, 0,
                               sizeof file_header + sizeof header};
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file_header), sizeof file_header);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(pixels_.data()), bytes);
}

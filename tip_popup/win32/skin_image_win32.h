#pragma once
#include <windows.h>

#include "tip_popup/skin/skin_loader.h"

// A skin bitmap loaded from its file as a DIB section at its own size.
class Win32SkinImage final : public SkinImage {
 public:
  Win32SkinImage(HBITMAP bitmap, long width, long height) : bitmap_(bitmap), width_(width), height_(height) {}
  ~Win32SkinImage() override { DeleteObject(bitmap_); }
  Win32SkinImage(const Win32SkinImage&) = delete;
  Win32SkinImage& operator=(const Win32SkinImage&) = delete;

  long width() const override { return width_; }
  long height() const override { return height_; }
  HBITMAP bitmap() const { return bitmap_; }

 private:
  HBITMAP bitmap_;
  long width_;
  long height_;
};

class Win32SkinImageLoader final : public SkinImageLoader {
 public:
  std::shared_ptr<SkinImage> Load(const std::u16string& path) override;
};

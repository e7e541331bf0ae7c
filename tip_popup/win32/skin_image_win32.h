#pragma once
#include <windows.h>

#include "common/win32/unique_handle.h"
#include "tip_popup/skin/skin_loader.h"

// A skin bitmap loaded from its file as a DIB section at its own size.
class Win32SkinImage final : public SkinImage {
 public:
  Win32SkinImage(UniqueBitmap bitmap, long width, long height)
      : bitmap_(std::move(bitmap)), width_(width), height_(height) {}

  long width() const override { return width_; }
  long height() const override { return height_; }
  HBITMAP bitmap() const { return bitmap_.get(); }

 private:
  UniqueBitmap bitmap_;
  long width_;
  long height_;
};

class Win32SkinImageLoader final : public SkinImageLoader {
 public:
  std::shared_ptr<SkinImage> Load(const std::u16string& path) override;
};

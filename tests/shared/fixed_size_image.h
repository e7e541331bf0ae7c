#pragma once
// A skin image that is only a size, for tests of skin layout and hit testing.
#include "tip_popup/skin/skin_element.h"

struct FixedSizeImage final : SkinImage {
  FixedSizeImage(long w, long h) : w_(w), h_(h) {}
  long width() const override { return w_; }
  long height() const override { return h_; }
  long w_, h_;
};

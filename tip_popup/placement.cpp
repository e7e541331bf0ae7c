#include "tip_popup/placement.h"

#include <algorithm>

namespace {
long ClampSize(long long size) { return static_cast<long>(std::clamp<long long>(size, -32767, 32767)); }
}  // namespace

TipRect FlashTipRect(const TipRect& work, long long width, long long height, long long placement) {
  const long w = ClampSize(width);
  const long h = ClampSize(height);
  switch (placement) {
    case 0: return {work.left, work.top, work.left + w, work.top + h};
    case 1: return {work.right - w, work.top, work.right, work.top + h};
    case 2: return {work.right - w, work.bottom - h, work.right, work.bottom};
    case 3: return {work.left, work.bottom - h, work.left + w, work.bottom};
    case 4: {
      const long left = work.left + (work.width() - w) / 2;
      const long top = work.top + (work.height() - h) / 2;
      return {left, top, left + w, top + h};
    }
    default: return work;
  }
}

TipRect TextTipRect(const TipRect& work, std::optional<long> top_of_existing_tip) {
  const long right = work.right - kTextTipMargin;
  const long bottom = top_of_existing_tip ? *top_of_existing_tip - kTextTipMargin : work.bottom - kTextTipMargin;
  return {right - kTextTipWidth, bottom - kTextTipHeight, right, bottom};
}

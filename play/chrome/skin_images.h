#pragma once
// Where a skin's images are: skin n's slot i is the bitmap resource 100 x n + 101 + i, and the
// image holder ppt(i) shows it. The resources of the four skins are built into the program.
#include <string>

#include "common/text/decimal.h"
#include "play/model/control.h"

inline constexpr int kSkinCount = 4;
inline constexpr int kSkinSlots = 12;

constexpr int SkinResourceId(long skin, int slot) { return static_cast<int>(100 * skin + 101 + slot); }

constexpr bool SkinResourceExists(int id) {
  const int skin = (id - 101) / 100;
  const int slot = (id - 101) % 100;
  return id >= 101 && skin < kSkinCount && slot < kSkinSlots;
}

// The header picture (slot 3) is the one image whose width differs between skins.
inline constexpr int kHeaderSlot = 3;
inline constexpr long kHeaderHeight = 61;
constexpr long SkinHeaderWidth(long skin) {
  constexpr long kHeaderWidths[kSkinCount] = {358, 320, 318, 330};
  return kHeaderWidths[skin >= 0 && skin < kSkinCount ? skin : 1];
}

// The rectangle (x, 0, width, height) of the image holder ppt(slot).
inline PictureSource SkinPicture(int slot, long x, long width, long height) {
  return PictureSource{u"ppt(" + Decimal(slot) + u")", x, 0, width, height};
}

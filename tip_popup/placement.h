#pragma once
// Where a popup goes in the desktop work area.
#include <optional>

#include "tip_popup/tip_rect.h"

inline constexpr long kTextTipWidth = 256;
inline constexpr long kTextTipHeight = 183;
inline constexpr long kTextTipMargin = 4;

// A Flash tip of w x h at placement 0 top left, 1 top right, 2 bottom right, 3 bottom left or
// 4 centred; any other placement covers the whole work area. Sizes are held to what a
// window can have, so a document cannot make the arithmetic overflow.
TipRect FlashTipRect(const TipRect& work, long long w, long long h, long long placement);

// A text tip in the bottom right corner, 4 pixels in from the work area's edges, or 4 pixels
// above the top of a text tip already on screen.
TipRect TextTipRect(const TipRect& work, std::optional<long> top_of_existing_tip);

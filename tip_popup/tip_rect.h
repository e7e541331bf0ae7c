#pragma once
#include "common/pixel_rect.h"

// Screen coordinates for the popup, client coordinates in the skin.
using TipRect = PixelRect;

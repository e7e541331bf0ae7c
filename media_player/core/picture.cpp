#include "media_player/core/picture.h"

#include <algorithm>

PictureAdjust ClampAdjust(PictureAdjust adjust) {
  adjust.brightness = std::clamp(adjust.brightness, -100, 100);
  adjust.contrast = std::clamp(adjust.contrast, 0, 200);
  adjust.saturation = std::clamp(adjust.saturation, 0, 200);
  return adjust;
}

PictureRect FitPicture(int picture_width, int picture_height, int window_width, int window_height) {
  if (picture_width <= 0 || picture_height <= 0 || window_width <= 0 || window_height <= 0) return {};
  PictureRect rect;
  const long long wide = static_cast<long long>(window_width) * picture_height;
  const long long tall = static_cast<long long>(window_height) * picture_width;
  if (wide >= tall) {  // the window is wider than the picture: bars left and right
    rect.height = window_height;
    rect.width = static_cast<int>(tall / picture_height);
  } else {
    rect.width = window_width;
    rect.height = static_cast<int>(wide / picture_width);
  }
  rect.left = (window_width - rect.width) / 2;
  rect.top = (window_height - rect.height) / 2;
  return rect;
}

#include "media_player/core/colour_conversion.h"

#include <cmath>

ColourMatrix MatrixFor(StreamMatrix stream, int height) {
  switch (stream) {
    case StreamMatrix::kBt601: return ColourMatrix::kBt601;
    case StreamMatrix::kBt709: return ColourMatrix::kBt709;
    case StreamMatrix::kBt2020: return ColourMatrix::kBt2020;
    case StreamMatrix::kUnknown: break;
  }
  return height >= 720 ? ColourMatrix::kBt709 : ColourMatrix::kBt601;
}

ConverterAdjust ConverterAdjustOf(const PictureAdjust& requested) {
  const PictureAdjust adjust = ClampAdjust(requested);
  const double contrast = adjust.contrast / 100.0;
  const double levels = adjust.brightness * 1.28 + 128.0 * (1.0 - contrast);
  ConverterAdjust out;
  out.brightness = static_cast<int>(std::lround(levels * 256.0));
  out.contrast = static_cast<int>(std::lround(contrast * 65536.0));
  out.saturation = static_cast<int>(std::lround(adjust.saturation / 100.0 * 65536.0));
  return out;
}

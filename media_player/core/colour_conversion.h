#pragma once
// How a decoded picture's colours become the RGB that is drawn: the matrix its stream names
// (or the one its size implies), and the user's brightness, contrast and saturation as the
// picture converter takes them (16.16 fixed point).
#include "media_player/core/picture.h"

enum class ColourMatrix { kBt601, kBt709, kBt2020 };
// What a stream says of its matrix.
enum class StreamMatrix { kUnknown, kBt601, kBt709, kBt2020 };

// The stream's own matrix; without one BT.709 from 720 lines up (HD), else BT.601.
ColourMatrix MatrixFor(StreamMatrix stream, int height);

struct ConverterAdjust {
  int brightness = 0;      // added to the luma, 1/256 of a level per unit (as the converter has it)
  int contrast = 1 << 16;  // around black, 16.16
  int saturation = 1 << 16;
  bool operator==(const ConverterAdjust&) const = default;
};
// The adjustment of the picture window (contrast around mid-grey, brightness in steps of
// 1.28 levels) in the converter's terms: its contrast scales from black, so the shift to
// keep mid-grey where it is goes into the brightness.
ConverterAdjust ConverterAdjustOf(const PictureAdjust& adjust);

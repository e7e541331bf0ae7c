#include "media_player/core/picture.h"

#include <algorithm>

namespace {

// Fixed point with 16 fraction bits.
constexpr int kOne = 1 << 16;

inline std::uint32_t Pack(int luma, int red, int green, int blue) {
  const int r = std::clamp((luma + red) >> 16, 0, 255);
  const int g = std::clamp((luma + green) >> 16, 0, 255);
  const int b = std::clamp((luma + blue) >> 16, 0, 255);
  return static_cast<std::uint32_t>(b | (g << 8) | (r << 16));
}

}  // namespace

PictureAdjust ClampAdjust(PictureAdjust adjust) {
  adjust.brightness = std::clamp(adjust.brightness, -100, 100);
  adjust.contrast = std::clamp(adjust.contrast, 0, 200);
  adjust.saturation = std::clamp(adjust.saturation, 0, 200);
  return adjust;
}

YuvTables::YuvTables(const PictureAdjust& requested) : adjust_(ClampAdjust(requested)) {
  for (int i = 0; i < 256; ++i) {
    // Luma: video range to full range, then contrast around mid-grey and brightness.
    const double full = (i - 16) * 255.0 / 219.0;
    const double adjusted = (full - 128.0) * adjust_.contrast / 100.0 + 128.0 + adjust_.brightness * 1.28;
    luma_[i] = static_cast<int>(adjusted * kOne + kOne / 2);
    const double chroma = (i - 128) * adjust_.saturation / 100.0 * adjust_.contrast / 100.0;
    red_v_[i] = static_cast<int>(1.596 * chroma * kOne);
    green_u_[i] = static_cast<int>(-0.392 * chroma * kOne);
    green_v_[i] = static_cast<int>(-0.813 * chroma * kOne);
    blue_u_[i] = static_cast<int>(2.017 * chroma * kOne);
  }
}

void YuvTables::Convert(const std::uint8_t* y, int y_stride, const std::uint8_t* u, const std::uint8_t* v,
                        int uv_stride, int uv_step, int width, int height, std::uint32_t* out, int out_stride) const {
  // Two rows at a time: each chroma sample colours a block of two by two pixels, so its
  // contributions are looked up once for four.
  for (int row = 0; row < height; row += 2) {
    const bool pair = row + 1 < height;
    const std::uint8_t* top = y + static_cast<std::ptrdiff_t>(row) * y_stride;
    const std::uint8_t* bottom = pair ? top + y_stride : top;
    const std::uint8_t* u_row = u + static_cast<std::ptrdiff_t>(row / 2) * uv_stride;
    const std::uint8_t* v_row = v ? v + static_cast<std::ptrdiff_t>(row / 2) * uv_stride : u_row + 1;
    std::uint32_t* upper = out + static_cast<std::ptrdiff_t>(row) * out_stride;
    std::uint32_t* lower = pair ? upper + out_stride : upper;
    const int even_width = width & ~1;
    int column = 0;
    for (int uv = 0; column < even_width; column += 2, uv += uv_step) {
      const int cu = u_row[uv], cv = v_row[uv];
      const int red = red_v_[cv], green = green_u_[cu] + green_v_[cv], blue = blue_u_[cu];
      upper[column] = Pack(luma_[top[column]], red, green, blue);
      upper[column + 1] = Pack(luma_[top[column + 1]], red, green, blue);
      lower[column] = Pack(luma_[bottom[column]], red, green, blue);
      lower[column + 1] = Pack(luma_[bottom[column + 1]], red, green, blue);
    }
    if (column < width) {  // an odd last column
      const int uv = (column / 2) * uv_step;
      const int cu = u_row[uv], cv = v_row[uv];
      const int red = red_v_[cv], green = green_u_[cu] + green_v_[cv], blue = blue_u_[cu];
      upper[column] = Pack(luma_[top[column]], red, green, blue);
      lower[column] = Pack(luma_[bottom[column]], red, green, blue);
    }
  }
}

std::optional<YuvPlanes> LocateYuvPlanes(std::size_t length, int pitch, int width, int height, bool semi_planar) {
  if (pitch <= 0 || width <= 0 || height <= 0 || width > pitch) return std::nullopt;
  const std::size_t row = static_cast<std::size_t>(pitch);
  const std::size_t chroma_rows = (static_cast<std::size_t>(height) + 1) / 2;
  const std::size_t chroma_width = (static_cast<std::size_t>(width) + 1) / 2;  // samples a row
  // The rows the buffer's length suggests (padding included), else exactly the picture's.
  for (std::size_t rows : {length * 2 / 3 / row, static_cast<std::size_t>(height)}) {
    if (rows < static_cast<std::size_t>(height)) continue;
    YuvPlanes planes;
    planes.u_offset = row * rows;
    if (semi_planar) {
      planes.uv_stride = pitch;
      // The last chroma row is read up to its last U,V pair.
      if (chroma_width * 2 <= row && planes.u_offset + row * (chroma_rows - 1) + chroma_width * 2 <= length) {
        return planes;
      }
    } else {
      planes.uv_stride = pitch / 2;
      const std::size_t half = row / 2;
      planes.v_offset = planes.u_offset + half * ((rows + 1) / 2);
      if (chroma_width <= half && planes.v_offset + half * (chroma_rows - 1) + chroma_width <= length) return planes;
    }
  }
  return std::nullopt;
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

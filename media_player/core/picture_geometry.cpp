#include "media_player/core/picture_geometry.h"

#include <cmath>
#include <utility>

int UprightTurn(double counter_clockwise_degrees) {
  if (!std::isfinite(counter_clockwise_degrees)) return 0;
  // Clockwise, to the nearest quarter turn, within one turn.
  const long quarter = std::lround(-counter_clockwise_degrees / 90.0);
  return static_cast<int>(((quarter % 4) + 4) % 4) * 90;
}

PictureShape DisplayShape(int width, int height, int sar_num, int sar_den, int turn) {
  if (width <= 0 || height <= 0) return {};
  PictureShape shape{width, height};
  // Recordings name ratios from about 1:4 to 4:1; anything else is taken as square pixels.
  if (sar_num > 0 && sar_den > 0 && sar_num <= 4LL * sar_den && sar_den <= 4LL * sar_num) {
    const long long wide = static_cast<long long>(width) * sar_num;
    if (sar_num >= sar_den) shape.width = static_cast<int>((wide + sar_den / 2) / sar_den);
    else shape.height = static_cast<int>((static_cast<long long>(height) * sar_den + sar_num / 2) / sar_num);
  }
  if (turn == 90 || turn == 270) std::swap(shape.width, shape.height);
  return shape;
}

void TurnPixels(const std::uint32_t* in, int width, int height, int turn, std::vector<std::uint32_t>& out) {
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  out.resize(count);
  if (count == 0) return;
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = in + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      std::size_t at = 0;
      switch (turn) {
        case 90: at = static_cast<std::size_t>(x) * height + (height - 1 - y); break;  // height wide now
        case 180: at = static_cast<std::size_t>(height - 1 - y) * width + (width - 1 - x); break;
        case 270: at = static_cast<std::size_t>(width - 1 - x) * height + y; break;
        default: at = static_cast<std::size_t>(y) * width + x; break;
      }
      out[at] = row[x];
    }
  }
}

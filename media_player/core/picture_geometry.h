#pragma once
// The shape a decoded picture takes on the screen: its pixels' own shape (the sample aspect
// ratio of anamorphic recordings) and the turn a phone recorded it with (the display matrix),
// and the turn itself applied to the converted pixels.
#include <cstdint>
#include <vector>

// The clockwise turn, in quarter turns of 0, 90, 180 or 270 degrees, that shows a picture
// upright, from the counter-clockwise angle of its display matrix (what the demuxer reports:
// -90 for a phone held upright, any value, NaN when there is none).
int UprightTurn(double counter_clockwise_degrees);

struct PictureShape {
  int width = 0, height = 0;
  bool operator==(const PictureShape&) const = default;
};
// The shape to fit into the window: `width` x `height` pixels of aspect `sar_num`:`sar_den`
// (0 or a nonsense ratio: square pixels), turned by `turn` degrees.
PictureShape DisplayShape(int width, int height, int sar_num, int sar_den, int turn);

// `in`, `width` x `height` pixels, turned clockwise by `turn` degrees into `out` (whose shape
// is then height x width for a quarter turn).
void TurnPixels(const std::uint32_t* in, int width, int height, int turn, std::vector<std::uint32_t>& out);

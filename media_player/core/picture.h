#pragma once
// Decoded pictures turned into 32-bit BGRX for GDI, with the user's brightness, contrast and
// saturation applied on the way, and the rectangle a picture takes in a window with its
// aspect ratio kept.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct PictureAdjust {
  int brightness = 0;    // -100..100, added to the luma
  int contrast = 100;    // per cent, around mid-grey
  int saturation = 100;  // per cent of the colour
  bool operator==(const PictureAdjust&) const = default;
};

// Lookup tables for one adjustment (BT.601, video range, as the decoders deliver it).
class YuvTables {
 public:
  explicit YuvTables(const PictureAdjust& adjust = {});
  const PictureAdjust& adjust() const { return adjust_; }

  // Planar 4:2:0 (I420: U then V planes) or semi-planar (NV12: one plane of U,V pairs when
  // `v` is null and `uv_step` is 2). `out` holds height rows of `out_stride` pixels.
  void Convert(const std::uint8_t* y, int y_stride, const std::uint8_t* u, const std::uint8_t* v, int uv_stride,
               int uv_step, int width, int height, std::uint32_t* out, int out_stride) const;

 private:
  PictureAdjust adjust_;
  int luma_[256];
  int red_v_[256], green_u_[256], green_v_[256], blue_u_[256];
};

// Where the planes of a 4:2:0 picture lie in a decoder's buffer of `length` bytes whose
// luma rows are `pitch` bytes apart (the rows may be padded to more than `height`, as
// decoders pad to 16 lines): offsets of the U (or interleaved UV) and V planes and their
// stride. Nothing when the buffer cannot hold every row the conversion reads.
struct YuvPlanes {
  std::size_t u_offset = 0, v_offset = 0;  // v_offset 0: interleaved with U
  int uv_stride = 0;
};
std::optional<YuvPlanes> LocateYuvPlanes(std::size_t length, int pitch, int width, int height, bool semi_planar);

struct PictureRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const PictureRect&) const = default;
};

// The largest rectangle of the picture's shape centred in the window; what is left are bars.
PictureRect FitPicture(int picture_width, int picture_height, int window_width, int window_height);

// Applies an adjustment to a value the user typed or dragged.
PictureAdjust ClampAdjust(PictureAdjust adjust);

#pragma once
// The user's brightness, contrast and saturation of the picture, and the rectangle a picture
// takes in a window with its shape kept.

struct PictureAdjust {
  int brightness = 0;    // -100..100, added to the luma
  int contrast = 100;    // per cent, around mid-grey
  int saturation = 100;  // per cent of the colour
  bool operator==(const PictureAdjust&) const = default;
};

struct PictureRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const PictureRect&) const = default;
};

// The largest rectangle of the picture's shape centred in the window; what is left are bars.
PictureRect FitPicture(int picture_width, int picture_height, int window_width, int window_height);

// Applies an adjustment to a value the user typed or dragged.
PictureAdjust ClampAdjust(PictureAdjust adjust);

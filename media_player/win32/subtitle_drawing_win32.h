#pragma once
// Subtitles drawn as outlined text: white with a dark outline and a soft shadow, sized to the
// picture's height, wrapped to its width, centred at its bottom (or top) inside the picture.
// They are rendered once when they change into premultiplied BGRA bands, which are then
// laid over each picture's rows as it is drawn.
#include <cstdint>
#include <vector>

#include "media_player/core/subtitle_text.h"

struct SubtitleBand {
  int top = 0;  // the row of the picture it starts at
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // premultiplied BGRA, top row first
};

struct RenderedSubtitle {
  int picture_width = 0, picture_height = 0;  // what it was rendered for
  std::vector<SubtitleBand> bands;
  bool empty() const { return bands.empty(); }
};

// The cues showing, for a picture drawn `width` x `height` on the screen.
RenderedSubtitle RenderSubtitle(const std::vector<const SubtitleCue*>& cues, int width, int height);

// `rows` rows of the picture, of `width` pixels each, starting at picture row `first_row`,
// with the subtitle laid over them.
void BlendSubtitle(const RenderedSubtitle& subtitle, int first_row, int rows, int width, std::uint32_t* pixels);

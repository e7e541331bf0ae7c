#pragma once
// Draws a decoded picture into its place in the window, with the subtitle laid over it. Each
// pixel is drawn once (the subtitle's rows go through a copy that carries it), so nothing
// flickers; a picture of another size than its place (decoded before the window changed) is
// stretched, and the subtitle blended over it.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "media_player/core/picture.h"
#include "media_player/win32/subtitle_drawing_win32.h"

void DrawPicture(HDC dc, const PictureRect& place, int width, int height, const std::uint32_t* pixels,
                 const RenderedSubtitle* subtitle);

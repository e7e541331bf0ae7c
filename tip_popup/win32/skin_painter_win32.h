#pragma once
// Draws the skin's element tree into a device context (the popup's off-screen bitmap).
#include <windows.h>

#include "tip_popup/skin/skin_element.h"

struct SkinFonts {
  HFONT normal = nullptr;  // "宋体" 12, all text of the skin
  HFONT hover = nullptr;   // "宋体" 14, bold, underlined: a text line under the mouse
};

void PaintSkin(HDC dc, const SkinElement& element, const SkinFonts& fonts, HINSTANCE strings);

// A string of the program's string table (at most 260 characters).
std::wstring LoadTableString(HINSTANCE instance, int id);

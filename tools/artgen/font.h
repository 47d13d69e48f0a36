// The game's lettering: one 5 x 5 pixel font (letters, digits and a few signs), each
// glyph in a 6-pixel cell (one pixel of spacing), and the 3 x 5 small digits.
#pragma once
#include <string_view>
#include "tools/artgen/canvas.h"

// Width in pixels of a text drawn at the given scale (no trailing spacing).
int TextWidth(std::string_view text, int scale = 1);
// Draws text with its top-left at (x, y); each font pixel becomes scale x scale.
// Characters the font lacks are drawn as spaces. Returns the x after the text.
int DrawText(Canvas& c, int x, int y, std::string_view text, uint8_t ink, int scale = 1);
// Draws text with its lit pixels centred on cx, a position between two columns (the
// middle falls half a pixel right of cx when the lit width is odd).
void DrawTextCentred(Canvas& c, int cx, int y, std::string_view text, uint8_t ink, int scale = 1);

// The 3 x 5 small digits, one pixel apart. With narrowOne, a 1 is one pixel wide.
int SmallDigitsWidth(std::string_view digits, bool narrowOne = false);
void DrawSmallDigits(Canvas& c, int x, int y, std::string_view digits, uint8_t ink, bool narrowOne = false);

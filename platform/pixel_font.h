// The game's lettering: one 5 x 5 pixel font (letters, digits and a few signs), each
// glyph in a 6-pixel cell (one pixel of spacing). The art generator draws the pictures'
// words with it, and the window its hints over the picture.
#pragma once
#include <array>
#include <string_view>

struct PixelGlyph {
    char ch;
    std::array<const char*, 5> rows;  // 'X' marks a lit pixel; narrow signs have shorter rows
    int Width() const { return int(std::string_view(rows[0]).size()); }
};

// The glyph of a character; one the font lacks is a space.
const PixelGlyph& FindPixelGlyph(char ch);

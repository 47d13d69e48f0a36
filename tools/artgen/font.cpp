// Glyph pixel maps of the 5 x 5 font and the 3 x 5 small digits, and the text drawing
// built on them. 'X' marks a lit pixel.
#include "tools/artgen/font.h"
#include <algorithm>
#include <array>
#include <string>
#include <vector>
#include "platform/pixel_font.h"

namespace {

using Glyph = PixelGlyph;  // the small digits are drawn the same way

const Glyph SmallDigitGlyphs[] = {
    {'0', {"XXX", "X.X", "X.X", "X.X", "XXX"}}, {'1', {".X.", "XX.", ".X.", ".X.", "XXX"}},
    {'2', {"XXX", "..X", "XXX", "X..", "XXX"}}, {'3', {"XXX", "..X", ".XX", "..X", "XXX"}},
    {'4', {"X.X", "X.X", "XXX", "..X", "..X"}}, {'5', {"XXX", "X..", "XXX", "..X", "XXX"}},
    {'6', {"XXX", "X..", "XXX", "X.X", "XXX"}}, {'7', {"XXX", "..X", "..X", ".X.", ".X."}},
    {'8', {"XXX", "X.X", "XXX", "X.X", "XXX"}}, {'9', {"XXX", "X.X", "XXX", "..X", "XXX"}},
};
const Glyph NarrowOne = {'1', {"X", "X", "X", "X", "X"}};

const Glyph& FindSmall(char ch, bool narrowOne) {
    if (ch == '1' && narrowOne) return NarrowOne;
    for (const Glyph& g : SmallDigitGlyphs)
        if (g.ch == ch) return g;
    return SmallDigitGlyphs[0];
}

int GlyphWidth(const Glyph& g) { return int(std::string_view(g.rows[0]).size()); }

void DrawGlyph(Canvas& c, int x, int y, const Glyph& g, uint8_t ink, int scale) {
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < GlyphWidth(g); ++col)
            if (g.rows[row][col] == 'X') c.Box(x + col * scale, y + row * scale, scale, scale, ink);
}

}  // namespace

int TextWidth(std::string_view text, int scale) { return text.empty() ? 0 : (6 * int(text.size()) - 1) * scale; }

int DrawText(Canvas& c, int x, int y, std::string_view text, uint8_t ink, int scale) {
    for (char ch : text) {
        const Glyph& g = FindPixelGlyph(ch);
        DrawGlyph(c, x + (5 - GlyphWidth(g)) / 2 * scale, y, g, ink, scale);
        x += 6 * scale;
    }
    return x;
}

void DrawTextCentred(Canvas& c, int cx, int y, std::string_view text, uint8_t ink, int scale) {
    // Centre what is lit, not the cells: a trailing sign leaves blank columns behind.
    Canvas scratch(TextWidth(text, scale), 5 * scale, Clear);
    DrawText(scratch, 0, 0, text, ink, scale);
    int left = scratch.width, right = -1;
    for (int x = 0; x < scratch.width; ++x)
        for (int row = 0; row < scratch.height; ++row)
            if (scratch.At(x, row) != Clear) left = std::min(left, x), right = std::max(right, x);
    if (right < left) return;
    c.Paste(scratch, cx - (left + right + 1) / 2, y);
}

int SmallDigitsWidth(std::string_view digits, bool narrowOne) {
    int w = 0;
    for (char ch : digits) w += GlyphWidth(FindSmall(ch, narrowOne)) + 1;
    return digits.empty() ? 0 : w - 1;
}

void DrawSmallDigits(Canvas& c, int x, int y, std::string_view digits, uint8_t ink, bool narrowOne) {
    for (char ch : digits) {
        const Glyph& g = FindSmall(ch, narrowOne);
        DrawGlyph(c, x, y, g, ink, 1);
        x += GlyphWidth(g) + 1;
    }
}

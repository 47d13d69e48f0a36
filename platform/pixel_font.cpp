// Glyph pixel maps of the 5 x 5 font.
#include "platform/pixel_font.h"

namespace {

// Every glyph takes the same 6-pixel cell: letters and digits fill its five columns,
// the narrower signs are drawn in the middle of them (the ! leans on the word before).
const PixelGlyph FontGlyphs[] = {
    {'A', {".XXX.", "X...X", "XXXXX", "X...X", "X...X"}},
    {'B', {"XXXX.", "X...X", "XXXX.", "X...X", "XXXX."}},
    {'C', {".XXXX", "X....", "X....", "X....", ".XXXX"}},
    {'D', {"XXXX.", "X...X", "X...X", "X...X", "XXXX."}},
    {'E', {"XXXXX", "X....", "XXXX.", "X....", "XXXXX"}},
    {'F', {"XXXXX", "X....", "XXXX.", "X....", "X...."}},
    {'G', {".XXXX", "X....", "X..XX", "X...X", ".XXXX"}},
    {'H', {"X...X", "X...X", "XXXXX", "X...X", "X...X"}},
    {'I', {"XXXXX", "..X..", "..X..", "..X..", "XXXXX"}},
    {'J', {"....X", "....X", "....X", "X...X", ".XXX."}},
    {'K', {"X...X", "X..X.", "XXX..", "X..X.", "X...X"}},
    {'L', {"X....", "X....", "X....", "X....", "XXXXX"}},
    {'M', {"X...X", "XX.XX", "X.X.X", "X...X", "X...X"}},
    {'N', {"X...X", "XX..X", "X.X.X", "X..XX", "X...X"}},
    {'O', {".XXX.", "X...X", "X...X", "X...X", ".XXX."}},
    {'P', {"XXXX.", "X...X", "XXXX.", "X....", "X...."}},
    {'Q', {".XXX.", "X...X", "X.X.X", "X..X.", ".XX.X"}},
    {'R', {"XXXX.", "X...X", "XXXX.", "X..X.", "X...X"}},
    {'S', {".XXXX", "X....", ".XXX.", "....X", "XXXX."}},
    {'T', {"XXXXX", "..X..", "..X..", "..X..", "..X.."}},
    {'U', {"X...X", "X...X", "X...X", "X...X", ".XXX."}},
    {'V', {"X...X", "X...X", "X...X", ".X.X.", "..X.."}},
    {'W', {"X...X", "X...X", "X.X.X", "XX.XX", "X...X"}},
    {'X', {"X...X", ".X.X.", "..X..", ".X.X.", "X...X"}},
    {'Y', {"X...X", ".X.X.", "..X..", "..X..", "..X.."}},
    {'Z', {"XXXXX", "...X.", "..X..", ".X...", "XXXXX"}},
    {'0', {".XXX.", "X...X", "X...X", "X...X", ".XXX."}},
    {'1', {"..X..", ".XX..", "..X..", "..X..", ".XXX."}},
    {'2', {"XXXX.", "....X", ".XXX.", "X....", "XXXXX"}},
    {'3', {"XXXX.", "....X", "..XX.", "....X", "XXXX."}},
    {'4', {"X..X.", "X..X.", "XXXXX", "...X.", "...X."}},
    {'5', {"XXXXX", "X....", "XXXX.", "....X", "XXXX."}},
    {'6', {".XXX.", "X....", "XXXX.", "X...X", ".XXX."}},
    {'7', {"XXXXX", "....X", "...X.", "..X..", "..X.."}},
    {'8', {".XXX.", "X...X", ".XXX.", "X...X", ".XXX."}},
    {'9', {".XXX.", "X...X", ".XXXX", "....X", ".XXX."}},
    {'!', {"X....", "X....", "X....", ".....", "X...."}},
    {'"', {"X.X", "X.X", "...", "...", "..."}},
    {'\'', {"X", "X", ".", ".", "."}},
    {'-', {"...", "...", "XXX", "...", "..."}},
    {'.', {".", ".", ".", ".", "X"}},
    {':', {".", "X", ".", "X", "."}},
    {'/', {"....X", "...X.", "..X..", ".X...", "X...."}},
    // Signs the window's hints need, in the same hand; the pictures never use them.
    {'+', {".....", "..X..", ".XXX.", "..X..", "....."}},
    {',', {"..", "..", "..", ".X", "X."}},
    {'(', {".X", "X.", "X.", "X.", ".X"}},
    {')', {"X.", ".X", ".X", ".X", "X."}},
    {'?', {"XXXX.", "....X", "..XX.", ".....", "..X.."}},
    {'_', {".....", ".....", ".....", ".....", "XXXXX"}},
    {'~', {".....", ".X..X", "X.XX.", ".....", "....."}},
    {'=', {".....", "XXXXX", ".....", "XXXXX", "....."}},
    {'%', {"X...X", "...X.", "..X..", ".X...", "X...X"}},
    {'>', {"X..", ".X.", "..X", ".X.", "X.."}},
    {'<', {"..X", ".X.", "X..", ".X.", "..X"}},
    {' ', {"...", "...", "...", "...", "..."}},
};

}  // namespace

const PixelGlyph& FindPixelGlyph(char ch) {
    for (const PixelGlyph& g : FontGlyphs)
        if (g.ch == ch) return g;
    return FontGlyphs[sizeof(FontGlyphs) / sizeof(FontGlyphs[0]) - 1];  // the space
}

// Drawing the phone's 5-6-5 frame into a 32-bit window surface at the largest whole-number
// scale that fits, centred, with a colour table for the surface's own pixel layout. It is
// how the window is drawn where the only OpenGL is a software one: copying rows is far
// cheaper than rasterising a textured quad in software.
#pragma once
#include <cstdint>
#include <vector>

struct ScaledPlace {
    int scale = 0;              // 0: the target is smaller than the frame, which is shrunk to fit
    int x = 0, y = 0;           // top-left of the picture on the target
    int width = 0, height = 0;  // the picture's size on the target; 0: nothing is drawn
};

// Where a frameWidth x frameHeight picture goes on a targetWidth x targetHeight surface: at
// the largest whole-number scale that fits, centred; on a target smaller than the frame
// (a window manager that forces it) shrunk to fit it, its shape kept, centred.
ScaledPlace PlaceScaled(int frameWidth, int frameHeight, int targetWidth, int targetHeight);

// Colours for every 5-6-5 value, from a function that makes the target's 32-bit pixel
// of 8-bit red, green and blue (each 5- or 6-bit part widened by repeating its top bits).
template <typename MapRgb>
std::vector<uint32_t> MakeColourTable(MapRgb mapRgb) {
    std::vector<uint32_t> table(65536);
    for (uint32_t v = 0; v < 65536; ++v) {
        uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
        table[v] = mapRgb(uint8_t(r << 3 | r >> 2), uint8_t(g << 2 | g >> 4), uint8_t(b << 3 | b >> 2));
    }
    return table;
}

// Draws the frame (rows framePitch bytes apart) at place into the 32-bit target (rows
// targetPitch bytes apart). Only the picture's own rectangle is written; with a range of
// frame rows (top, bottom exclusive), only the part of it those rows cover. A shrunk
// picture takes each pixel from the nearest source pixel, and is always drawn whole.
void DrawScaled(const uint8_t* frame, int framePitch, int frameWidth, int frameHeight, const uint32_t* colours,
                const ScaledPlace& place, uint8_t* target, int targetPitch, int top = 0, int bottom = -1);

// Paints the target black (the pixel value given) outside the picture's rectangle.
void FillBorders(const ScaledPlace& place, uint32_t black, uint8_t* target, int targetPitch, int targetWidth,
                 int targetHeight);

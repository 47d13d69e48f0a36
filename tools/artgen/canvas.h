// An indexed-colour picture being drawn: palette indices, top row first, with the few
// drawing operations the art needs (pixels, boxes, discs, text pixel maps).
#pragma once
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string_view>
#include <vector>
#include "tools/artgen/palette.h"

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // index y * width + x

    Canvas(int w, int h, uint8_t fill);
    uint8_t At(int x, int y) const;
    // Writes one pixel; pixels outside the canvas are ignored.
    void Set(int x, int y, uint8_t ink);
    void Box(int x, int y, int w, int h, uint8_t ink);
    // Copies another canvas at (x, y), skipping its Clear pixels.
    void Paste(const Canvas& from, int x, int y);
};

// A pixel map written as text rows: each character names an ink ('.' or ' ' is Clear).
using InkKey = std::map<char, uint8_t>;
Canvas MapToCanvas(std::initializer_list<std::string_view> rows, const InkKey& key);

// Every pixel whose centre lies within radius r of (cx, cy), in continuous coordinates
// (pixel (x, y) covers x .. x + 1), unless it lies inside the mouth wedge: the angle
// between the pixel and direction `mouthDeg` (0 right, 90 up) below `halfOpenDeg`.
void Disc(Canvas& c, double cx, double cy, double r, uint8_t ink, double mouthDeg = 0, double halfOpenDeg = 0);

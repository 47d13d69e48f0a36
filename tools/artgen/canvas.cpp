// Drawing operations on indexed pictures: pixels, boxes, pasting, text pixel maps and
// discs with a wedge cut out of them.
#include "tools/artgen/canvas.h"
#include <cmath>
#include <numbers>

Canvas::Canvas(int w, int h, uint8_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}

uint8_t Canvas::At(int x, int y) const { return pixels[size_t(y) * width + x]; }

void Canvas::Set(int x, int y, uint8_t ink) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[size_t(y) * width + x] = ink;
}

void Canvas::Box(int x, int y, int w, int h, uint8_t ink) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) Set(x + i, y + j, ink);
}

void Canvas::Paste(const Canvas& from, int x, int y) {
    for (int j = 0; j < from.height; ++j)
        for (int i = 0; i < from.width; ++i)
            if (from.At(i, j) != Clear) Set(x + i, y + j, from.At(i, j));
}

Canvas MapToCanvas(std::initializer_list<std::string_view> rows, const InkKey& key) {
    int w = 0;
    for (auto row : rows) w = std::max(w, int(row.size()));
    Canvas c(w, int(rows.size()), Clear);
    int y = 0;
    for (auto row : rows) {
        for (int x = 0; x < int(row.size()); ++x) {
            auto it = key.find(row[x]);
            if (it != key.end()) c.Set(x, y, it->second);
        }
        ++y;
    }
    return c;
}

void Disc(Canvas& c, double cx, double cy, double r, uint8_t ink, double mouthDeg, double halfOpenDeg) {
    const double mouth = mouthDeg * std::numbers::pi / 180.0;
    const double mx = std::cos(mouth), my = -std::sin(mouth);  // screen y grows downwards
    const double limit = std::cos(halfOpenDeg * std::numbers::pi / 180.0);
    for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y) {
        for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > r) continue;
            if (halfOpenDeg > 0 && d > 0 && (dx * mx + dy * my) / d > limit) continue;
            c.Set(x, y, ink);
        }
    }
}

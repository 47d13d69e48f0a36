// A stand-in sprite sheet whose every pixel names its own position, so a test can read
// back from BackBuffer which sheet cell was drawn where. In the eyes-and-faces row the
// left half of each cell is transparent, so a body drawn under them stays visible.
#pragma once
#include <cstdint>
#include <vector>
#include "gfx/surface.h"

class SheetProbe {
public:
    SheetProbe();   // installs itself as SpriteSheet and PausedBanner, clears BackBuffer
    ~SheetProbe();  // puts the real sheets back
    void Clear();
    bool Drawn(int x, int y) const;
    // Every opaque pixel of the w x h cell at (sx, sy) of the sheet shows at (dx, dy).
    bool Shows(int dx, int dy, int w, int h, int sx, int sy) const;
    // Nothing at all was drawn inside the rectangle.
    bool Blank(int x, int y, int w, int h) const;
    static constexpr uint16_t Key = 0x0001;

private:
    uint16_t At(int x, int y) const;
    std::vector<uint16_t> pixels_;
    Image image_{};
    Image* savedSheet_;
    Image* savedBanner_;
    uint32_t savedKey_;
};

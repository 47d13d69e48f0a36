// The self-describing sprite sheet of the drawing tests.
#include "tests/game_rules/sheet_probe.h"
#include "gfx/art.h"

namespace {
constexpr int Width = 256, Height = 128;
uint16_t Encode(int sx, int sy) { return uint16_t(0x8000 | (sy << 8) | sx); }
}  // namespace

SheetProbe::SheetProbe() : pixels_(Width * Height) {
    for (int sy = 0; sy < Height; ++sy)
        for (int sx = 0; sx < Width; ++sx)
            pixels_[sy * Width + sx] = (sy >= 48 && sy < 60 && sx % 12 < 6) ? Key : Encode(sx, sy);
    image_ = Image{pixels_.data(), Width, Height};
    savedSheet_ = SpriteSheet;
    savedBanner_ = PausedBanner;
    savedKey_ = KeyColour;
    SpriteSheet = &image_;
    PausedBanner = &image_;
    KeyColour = Key;
    Clear();
}

SheetProbe::~SheetProbe() {
    SpriteSheet = savedSheet_;
    PausedBanner = savedBanner_;
    KeyColour = savedKey_;
}

void SheetProbe::Clear() {
    if (!BackBuffer.origin) return;
    for (int32_t o = BackBuffer.minOffset; o <= BackBuffer.maxOffset; ++o) BackBuffer.origin[o] = 0;
}

uint16_t SheetProbe::At(int x, int y) const {
    if (!BackBuffer.origin || x < 0 || y < 0 || x >= 176 || y >= 220) return 0;
    return BackBuffer.origin[x * BackBuffer.xStep + y * BackBuffer.yStep];
}

bool SheetProbe::Drawn(int x, int y) const { return At(x, y) != 0; }

bool SheetProbe::Shows(int dx, int dy, int w, int h, int sx, int sy) const {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint16_t want = pixels_[(sy + y) * Width + sx + x];
            if (want != Key && At(dx + x, dy + y) != want) return false;
        }
    return true;
}

bool SheetProbe::Blank(int x0, int y0, int w, int h) const {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (Drawn(x, y)) return false;
    return true;
}

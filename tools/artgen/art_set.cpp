// The list of files the generator writes: each picture encoded as a 4-bit BMP, and the
// icon also as PNGs for the desktop, magenta made transparent: drawn for 16 and 24
// pixels, and the 32-pixel drawing (the window's icon) at 32, 64, 128 and 256 by whole
// pixels, 48 as the 24-pixel one doubled; for the web page's manifest at 192 and 512, and
// a maskable 512 whose drawing keeps inside the circle a launcher may cut it to.
#include "tools/artgen/art_set.h"
#include <stb/stb_image_write.h>
#include "tools/artgen/bmp_writer.h"

namespace {

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    auto* bytes = static_cast<uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// The icon at a whole scale; with a `side`, centred on an opaque square of that side in
// the clear ink's place (black), as a maskable icon must be.
std::vector<uint8_t> EncodeIconPng(const Canvas& icon, int scale, int side = 0) {
    const int drawn = icon.width * scale, w = side ? side : drawn, h = side ? side : icon.height * scale;
    const int left = (w - drawn) / 2, top = (h - icon.height * scale) / 2;
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool inside = x >= left && x < left + drawn && y >= top && y < top + icon.height * scale;
            const uint8_t ink = inside ? icon.At((x - left) / scale, (y - top) / scale) : uint8_t(Clear);
            const uint32_t rgb = ink == Clear && side ? 0 : ArtPalette[ink];
            uint8_t* p = &rgba[(size_t(y) * w + x) * 4];
            p[0] = uint8_t(rgb >> 16);
            p[1] = uint8_t(rgb >> 8);
            p[2] = uint8_t(rgb);
            p[3] = ink == Clear && !side ? 0 : 255;
        }
    }
    std::vector<uint8_t> png;
    stbi_write_png_to_func(AppendBytes, &png, w, h, 4, rgba.data(), w * 4);
    return png;
}

}  // namespace

std::vector<ArtFile> DrawArtSet() {
    const Canvas icon = DrawIcon();
    return {
        {"sprite_sheet.bmp", EncodeBmp4(DrawSpriteSheet())},
        {"black.bmp", EncodeBmp4(DrawBlackScreen())},
        {"title_card.bmp", EncodeBmp4(DrawTitleCard())},
        {"paused_banner.bmp", EncodeBmp4(DrawPausedBanner())},
        {"scene_sheet.bmp", EncodeBmp4(DrawSceneSheet())},
        {"maze.bmp", EncodeBmp4(DrawMaze(Blue))},
        {"maze_flash.bmp", EncodeBmp4(DrawMaze(White))},
        {"icon.bmp", EncodeBmp4(icon)},
        {"glimmo-16.png", EncodeIconPng(DrawSmallIcon(16), 1)},
        {"glimmo-24.png", EncodeIconPng(DrawSmallIcon(24), 1)},
        {"glimmo-32.png", EncodeIconPng(icon, 1)},
        {"glimmo-48.png", EncodeIconPng(DrawSmallIcon(24), 2)},
        {"glimmo-64.png", EncodeIconPng(icon, 2)},
        {"glimmo-128.png", EncodeIconPng(icon, 4)},
        {"glimmo-256.png", EncodeIconPng(icon, 8)},
        {"glimmo-192.png", EncodeIconPng(icon, 6)},
        {"glimmo-512.png", EncodeIconPng(icon, 16)},
        // 288 pixels across: its corners stay inside the middle 80 % circle of the 512.
        {"glimmo-maskable-512.png", EncodeIconPng(icon, 9, 512)},
    };
}

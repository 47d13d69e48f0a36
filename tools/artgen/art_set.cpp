// The list of files the generator writes: each picture encoded as a 4-bit BMP, and the
// icon also as PNGs for the desktop, magenta made transparent: drawn for 16 and 24
// pixels, and the 32-pixel drawing (the window's icon) at 32, 64, 128 and 256 by whole
// pixels, 48 as the 24-pixel one doubled.
#include "tools/artgen/art_set.h"
#include <stb/stb_image_write.h>
#include "tools/artgen/bmp_writer.h"

namespace {

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    auto* bytes = static_cast<uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::vector<uint8_t> EncodeIconPng(const Canvas& icon, int scale) {
    const int w = icon.width * scale, h = icon.height * scale;
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint8_t ink = icon.At(x / scale, y / scale);
            const uint32_t rgb = ArtPalette[ink];
            uint8_t* p = &rgba[(size_t(y) * w + x) * 4];
            p[0] = uint8_t(rgb >> 16);
            p[1] = uint8_t(rgb >> 8);
            p[2] = uint8_t(rgb);
            p[3] = ink == Clear ? 0 : 255;
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
    };
}

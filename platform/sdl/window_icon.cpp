// Reading the icon resource through the common BMP decoder.
#include "platform/sdl/window_icon.h"
#include "platform/bmp_decoder.h"
#include "platform/resources.h"

namespace {
constexpr uint32_t kTransparent = 0x00FF00FF;  // magenta, as 0x00BBGGRR
}

bool LoadIconPicture(unsigned resourceId, IconPicture* picture) {
    *picture = IconPicture{};
    HINSTANCE instance = ProgramInstance();
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), L"ICON");
    if (!resource) return false;
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, resource)));
    DecodedBitmap* bitmap = DecodeBmp(bytes, SizeofResource(instance, resource));
    if (!bitmap) return false;
    if (bitmap->width <= 0 || bitmap->height <= 0) {
        FreeDecodedBitmap(bitmap);
        return false;
    }
    picture->width = bitmap->width;
    picture->height = bitmap->height;
    size_t count = size_t(bitmap->width) * size_t(bitmap->height);
    picture->argb.resize(count);
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = bitmap->pixels[i];
        uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        picture->argb[i] = c == kTransparent ? 0 : 0xFF000000u | r << 16 | g << 8 | b;
    }
    FreeDecodedBitmap(bitmap);
    return true;
}

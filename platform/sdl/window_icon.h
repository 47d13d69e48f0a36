// The window's icon: the program's ICON resource (a small palette BMP) as 32-bit ARGB
// pixels, magenta FF00FF made transparent.
#pragma once
#include <cstdint>
#include <vector>

struct IconPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // rows top first
};

// False (and an empty picture) when the resource is missing or damaged.
bool LoadIconPicture(unsigned resourceId, IconPicture* picture);

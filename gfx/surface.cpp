// Software blitting of 16-bit pixels: surfaces laid out like the frame memory, images
// in plain rows, clipping done once per blit and one comparison a pixel for the key.
#include "surface.h"
#include <cstring>
#include <new>

Surface::Surface() : origin(nullptr), buffer(nullptr), props(GXGetDisplayProperties()), minOffset(0), maxOffset(0) {
    xStep = props.cbxPitch >> 1;
    yStep = props.cbyPitch >> 1;
    int32_t ex = int32_t(props.cxWidth - 1) * xStep;
    int32_t ey = int32_t(props.cyHeight - 1) * yStep;
    (ex < 0 ? minOffset : maxOffset) += ex;
    (ey < 0 ? minOffset : maxOffset) += ey;
}

Surface::~Surface() { delete[] buffer; }

int AllocatePixels(Surface& s) {
    if (s.origin || s.props.cBPP != 16) return 0;
    s.buffer = new (std::nothrow) uint16_t[size_t(s.maxOffset - s.minOffset + 1)];
    if (!s.buffer) return 0;
    s.origin = s.buffer - s.minOffset;
    return 1;
}

int SetPixels(Surface& s, uint16_t* address) {
    s.origin = address;
    return 1;
}

int PutPixel(Surface& s, int32_t x, int32_t y, uint32_t colour) {
    if (!s.origin || uint32_t(x) >= s.props.cxWidth || uint32_t(y) >= s.props.cyHeight || s.props.cBPP != 16)
        return 0;
    s.origin[x * s.xStep + y * s.yStep] = uint16_t(colour);
    return 1;
}

int Blit(Surface& s, int32_t dx, int32_t dy, int32_t w, int32_t h, const Image* img, int32_t sx, int32_t sy,
         uint32_t key) {
    if (!s.origin || !img || !img->pixels || w < 1 || h < 1 || sx < 0 || sy < 0 || sx + w > img->width ||
        sy + h > img->height)
        return 0;
    if (dx > int32_t(s.props.cxWidth) || dy > int32_t(s.props.cyHeight)) return 1;
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    if (w > int32_t(s.props.cxWidth) - dx) w = int32_t(s.props.cxWidth) - dx;
    if (h > int32_t(s.props.cyHeight) - dy) h = int32_t(s.props.cyHeight) - dy;
    if (s.props.cBPP != 16) return 0;
    if (h < 1) return 1;
    const uint16_t* src = img->pixels + sy * img->width + sx;
    uint16_t* dstRow = s.origin + dx * s.xStep + dy * s.yStep;
    for (int32_t row = 0; row < h; ++row) {
        uint16_t* dst = dstRow;
        if (key == NoKey) {
            for (int32_t col = 0; col < w; ++col, dst += s.xStep) *dst = src[col];
        } else {
            for (int32_t col = 0; col < w; ++col, dst += s.xStep)
                if (src[col] != key) *dst = src[col];
        }
        src += img->width;
        dstRow += s.yStep;
    }
    return 1;
}

int BlitOpaque(Surface& s, int32_t dx, int32_t dy, int32_t w, int32_t h, const Image* img, int32_t sx, int32_t sy) {
    return Blit(s, dx, dy, w, h, img, sx, sy, NoKey);
}

int BlitKeyed(Surface& s, int32_t dx, int32_t dy, int32_t w, int32_t h, const Image* img, uint32_t key, int32_t sx,
              int32_t sy) {
    return Blit(s, dx, dy, w, h, img, sx, sy, key);
}

// A surface without memory (a failed allocation, or a present that got no frame address)
// is refused: nothing is written.
int CopySurface(Surface& d, const Surface& s) {
    if (d.props.cBPP != 16 || s.props.cBPP != 16 || !s.buffer || !d.origin) return 0;
    size_t pixels = size_t(d.maxOffset - d.minOffset + 1);
    size_t sourcePixels = size_t(s.maxOffset - s.minOffset + 1);
    if (sourcePixels < pixels) pixels = sourcePixels;
    std::memcpy(d.origin + d.minOffset, s.buffer, pixels * sizeof(uint16_t));
    return 1;
}

uint32_t PackColour(const Surface& f, uint32_t c) {
    uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    if (f.props.ffFormat & kfDirect565) return (r >> 3) << 11 | (g >> 3) << 6 | (b >> 3);
    if (f.props.ffFormat & kfDirect555) return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    return 0;
}

uint32_t MakeColour(const Surface& f, uint32_t c) {
    if (f.props.cBPP != 16) return 0;
    return PackColour(f, c) & 0xFFFF;
}

Image* CreateImage(const Surface& f, HBITMAP bitmap, int32_t sx, int32_t sy, int32_t w, int32_t h) {
    if (!bitmap) return nullptr;
    auto* img = new (std::nothrow) Image{nullptr, 0, 0};
    if (!img) return nullptr;
    bool whole = sx < 0 && sy < 0;
    int32_t W = bitmap->width, H = bitmap->height;
    img->width = whole ? W : 2 * W;
    img->height = whole ? H : 2 * H;
    if (img->width < 1 || img->height < 1 || f.props.cBPP != 16 || !bitmap->pixels) return img;
    img->pixels = new (std::nothrow) uint16_t[size_t(img->width) * size_t(img->height)];
    if (!img->pixels) return img;
    if (whole) {
        for (int32_t i = 0; i < W * H; ++i) img->pixels[i] = uint16_t(PackColour(f, bitmap->pixels[i]));
        return img;
    }
    // Rectangle form: the w x h rectangle at (sx, sy) lands in the top-left corner of a
    // black canvas twice the bitmap's size; what lies outside the bitmap stays black.
    uint16_t black = uint16_t(PackColour(f, 0));
    for (int32_t i = 0; i < img->width * img->height; ++i) img->pixels[i] = black;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            int32_t bx = sx + x, by = sy + y;
            if (bx < 0 || by < 0 || bx >= W || by >= H || x >= img->width || y >= img->height) continue;
            img->pixels[y * img->width + x] = uint16_t(PackColour(f, bitmap->pixels[by * W + bx]));
        }
    }
    return img;
}

void FreeImage(Image*& img) {
    if (!img) return;
    delete[] img->pixels;
    delete img;
    img = nullptr;
}

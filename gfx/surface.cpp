// Software blitting of 16-bit pixels: surfaces laid out like the frame memory, images
// in plain rows, clipping done once per blit and one comparison a pixel for the key.
// Positions are worked out as pixel offsets in 64 bits, where no sum or product of the
// arguments can overflow, and a pointer is formed only for a pixel that is read or written.
#include "gfx/surface.h"
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <new>

namespace {
// The lowest and highest pixel offsets of a layout from its pixel (0, 0); the width and
// height less one count as signed 32-bit numbers, as they always have.
void Extent(const GXDisplayProperties& p, int32_t xStep, int32_t yStep, int64_t& lo, int64_t& hi) {
    const int64_t ex = int64_t(int32_t(p.cxWidth - 1)) * xStep;
    const int64_t ey = int64_t(int32_t(p.cyHeight - 1)) * yStep;
    lo = std::min<int64_t>(ex, 0) + std::min<int64_t>(ey, 0);
    hi = std::max<int64_t>(ex, 0) + std::max<int64_t>(ey, 0);
}

// The surface's offsets, and the count of pixels from the lowest to the highest, are
// 32-bit numbers.
bool FitsOffsets(int64_t lo, int64_t hi) { return lo >= INT32_MIN && hi <= INT32_MAX && hi - lo < INT32_MAX; }

bool composing = true;

// Eight and four pixels side by side, as the compiler's vector types (SSE2 on x86-64,
// NEON on ARM, plain words elsewhere).
using Pixels8 = uint16_t __attribute__((vector_size(16)));
using Pixels4 = uint16_t __attribute__((vector_size(8)));

// Lanes of src equal to the key keep what dst had; the others take src. Every lane is
// written, the key's with its old value, so no branch is needed.
template <typename Pixels>
inline void KeyedLanes(uint16_t* dst, const uint16_t* src, uint16_t key) {
    Pixels from, to;
    std::memcpy(&from, src, sizeof from);
    std::memcpy(&to, dst, sizeof to);
    const Pixels clear = reinterpret_cast<Pixels>(from == key);
    to = (to & clear) | (from & ~clear);
    std::memcpy(dst, &to, sizeof to);
}

// One row of a keyed blit on a surface whose rows lie in memory as in the image.
inline void KeyedRow(uint16_t* dst, const uint16_t* src, ptrdiff_t cols, uint16_t key) {
    ptrdiff_t col = 0;
    for (; col + 8 <= cols; col += 8) KeyedLanes<Pixels8>(dst + col, src + col, key);
    if (col + 4 <= cols) {
        KeyedLanes<Pixels4>(dst + col, src + col, key);
        col += 4;
    }
    for (; col < cols; ++col)
        if (src[col] != key) dst[col] = src[col];
}
}  // namespace

void ComposePictures(bool on) { composing = on; }

Surface::Surface() : origin(nullptr), buffer(nullptr), props(GXGetDisplayProperties()), minOffset(0), maxOffset(0) {
    xStep = props.cbxPitch >> 1;
    yStep = props.cbyPitch >> 1;
    int64_t lo, hi;
    Extent(props, xStep, yStep, lo, hi);
    // A layout beyond 32-bit offsets keeps none, and AllocatePixels refuses it memory.
    if (FitsOffsets(lo, hi)) {
        minOffset = int32_t(lo);
        maxOffset = int32_t(hi);
    }
}

Surface::~Surface() { delete[] buffer; }

int AllocatePixels(Surface& s) {
    if (s.origin || s.props.cBPP != 16) return 0;
    int64_t lo, hi;
    Extent(s.props, s.xStep, s.yStep, lo, hi);
    if (!FitsOffsets(lo, hi)) return 0;  // no allocation could hold it
    s.buffer = new (std::nothrow) uint16_t[size_t(int64_t(s.maxOffset) - s.minOffset + 1)];
    if (!s.buffer) return 0;
    s.origin = s.buffer - s.minOffset;
    return 1;
}

int SetPixels(Surface& s, uint16_t* address) {
    s.origin = address;
    return 1;
}

int PutPixel(Surface& s, int32_t x, int32_t y, uint32_t colour) {
    if (!s.origin || uint32_t(x) >= s.props.cxWidth || uint32_t(y) >= s.props.cyHeight || s.props.cBPP != 16) return 0;
    if (!composing) return 1;
    s.origin[ptrdiff_t(x) * s.xStep + ptrdiff_t(y) * s.yStep] = uint16_t(colour);
    return 1;
}

int Blit(Surface& s, int32_t dx, int32_t dy, int32_t w, int32_t h, const Image* img, int32_t sx, int32_t sy,
         uint32_t key) {
    if (!s.origin || !img || !img->pixels || w < 1 || h < 1 || sx < 0 || sy < 0 || int64_t(sx) + w > img->width ||
        int64_t(sy) + h > img->height)
        return 0;
    // The screen's sides count as signed 32-bit numbers, as they always have.
    const int64_t width = int32_t(s.props.cxWidth), height = int32_t(s.props.cyHeight);
    int64_t x = dx, y = dy, cols = w, rows = h, fromX = sx, fromY = sy;
    if (x > width || y > height) return 1;
    if (x < 0) {
        cols += x;
        fromX -= x;
        x = 0;
    }
    if (y < 0) {
        rows += y;
        fromY -= y;
        y = 0;
    }
    cols = std::min(cols, width - x);
    rows = std::min(rows, height - y);
    if (s.props.cBPP != 16) return 0;
    // Clipped to nothing. Otherwise every pixel drawn lies on the surface and every
    // pixel read in the image (the source rectangle was inside it and shrank with the clip).
    if (rows < 1 || cols < 1 || !composing) return 1;
    const ptrdiff_t xStep = s.xStep, yStep = s.yStep, span = img->width;
    ptrdiff_t to = ptrdiff_t(x) * xStep + ptrdiff_t(y) * yStep;
    ptrdiff_t from = ptrdiff_t(fromY) * span + ptrdiff_t(fromX);
    if (xStep == 1) {
        // Rows lie in memory as in the image (the portrait screen): whole rows at a time.
        for (int64_t row = 0; row < rows; ++row, to += yStep, from += span) {
            uint16_t* dst = s.origin + to;
            const uint16_t* src = img->pixels + from;
            if (key == NoKey || key > 0xFFFF) {  // no pixel can match the key
                std::memcpy(dst, src, size_t(cols) * sizeof(uint16_t));
            } else {
                KeyedRow(dst, src, cols, uint16_t(key));
            }
        }
        return 1;
    }
    for (int64_t row = 0; row < rows; ++row, to += yStep, from += span) {
        uint16_t* dst = s.origin + to;
        const uint16_t* src = img->pixels + from;
        if (key == NoKey) {
            for (ptrdiff_t col = 0; col < cols; ++col) dst[col * xStep] = src[col];
        } else {
            for (ptrdiff_t col = 0; col < cols; ++col)
                if (src[col] != key) dst[col * xStep] = src[col];
        }
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
    if (!composing) return 1;
    const int64_t pixels = std::min(int64_t(d.maxOffset) - d.minOffset + 1, int64_t(s.maxOffset) - s.minOffset + 1);
    std::memcpy(d.origin + d.minOffset, s.buffer, size_t(pixels) * sizeof(uint16_t));
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
    const int64_t W = bitmap->width, H = bitmap->height;
    const int64_t width = whole ? W : 2 * W, height = whole ? H : 2 * H;
    // No canvas has sides beyond 32 bits: such an image stays 0 x 0, without pixels.
    if (width < INT32_MIN || width > INT32_MAX || height < INT32_MIN || height > INT32_MAX) return img;
    img->width = int32_t(width);
    img->height = int32_t(height);
    if (img->width < 1 || img->height < 1 || f.props.cBPP != 16 || !bitmap->pixels) return img;
    const size_t count = size_t(width) * size_t(height);
    img->pixels = new (std::nothrow) uint16_t[count];
    if (!img->pixels) return img;
    if (whole) {
        for (size_t i = 0; i < count; ++i) img->pixels[i] = uint16_t(PackColour(f, bitmap->pixels[i]));
        return img;
    }
    // Rectangle form: the w x h rectangle at (sx, sy) lands in the top-left corner of a
    // black canvas twice the bitmap's size; what lies outside the bitmap stays black.
    std::fill(img->pixels, img->pixels + count, uint16_t(PackColour(f, 0)));
    const int64_t x0 = std::max<int64_t>(0, -int64_t(sx)), y0 = std::max<int64_t>(0, -int64_t(sy));
    const int64_t x1 = std::min({int64_t(w), width, W - sx}), y1 = std::min({int64_t(h), height, H - sy});
    for (int64_t y = y0; y < y1; ++y)
        for (int64_t x = x0; x < x1; ++x)
            img->pixels[y * width + x] = uint16_t(PackColour(f, bitmap->pixels[(sy + y) * W + sx + x]));
    return img;
}

void FreeImage(Image*& img) {
    if (!img) return;
    delete[] img->pixels;
    delete img;
    img = nullptr;
}

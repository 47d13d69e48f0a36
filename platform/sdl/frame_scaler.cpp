// Whole-number scaling of the 5-6-5 frame: each source row is widened once, then
// copied down as many rows as the scale.
#include "platform/sdl/frame_scaler.h"

#include <algorithm>
#include <cstring>

ScaledPlace PlaceScaled(int frameWidth, int frameHeight, int targetWidth, int targetHeight) {
    if (frameWidth <= 0 || frameHeight <= 0) return {0, 0, 0};
    int scale = std::min(targetWidth / frameWidth, targetHeight / frameHeight);
    if (scale < 1) return {0, 0, 0};
    return {scale, (targetWidth - frameWidth * scale) / 2, (targetHeight - frameHeight * scale) / 2};
}

namespace {
// One source row widened into out; the usual scales get a loop the compiler can unroll.
template <int Scale>
void WidenRow(const uint8_t* source, int width, const uint32_t* colours, uint32_t* out, int scale) {
    const int n = Scale ? Scale : scale;
    for (int x = 0; x < width; ++x) {
        uint16_t v;
        std::memcpy(&v, source + 2 * x, 2);
        const uint32_t c = colours[v];
        for (int i = 0; i < n; ++i) *out++ = c;
    }
}
}  // namespace

void DrawScaled(const uint8_t* frame, int framePitch, int frameWidth, int frameHeight, const uint32_t* colours,
                const ScaledPlace& place, uint8_t* target, int targetPitch, int top, int bottom) {
    const int scale = place.scale;
    if (scale < 1) return;
    auto widen = scale == 2 ? WidenRow<2> : scale == 3 ? WidenRow<3> : scale == 4 ? WidenRow<4> : WidenRow<0>;
    const size_t rowBytes = size_t(frameWidth) * size_t(scale) * 4;
    if (bottom < 0 || bottom > frameHeight) bottom = frameHeight;
    for (int y = top < 0 ? 0 : top; y < bottom; ++y) {
        uint8_t* first = target + size_t(place.y + y * scale) * size_t(targetPitch) + size_t(place.x) * 4;
        widen(frame + size_t(y) * size_t(framePitch), frameWidth, colours, reinterpret_cast<uint32_t*>(first), scale);
        for (int i = 1; i < scale; ++i) std::memcpy(first + size_t(i) * size_t(targetPitch), first, rowBytes);
    }
}

void FillBorders(const ScaledPlace& place, int frameWidth, int frameHeight, uint32_t black, uint8_t* target,
                 int targetPitch, int targetWidth, int targetHeight) {
    const int left = place.scale ? place.x : targetWidth;
    const int right = place.scale ? place.x + frameWidth * place.scale : targetWidth;
    const int top = place.scale ? place.y : targetHeight;
    const int bottom = place.scale ? place.y + frameHeight * place.scale : targetHeight;
    for (int y = 0; y < targetHeight; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(target + size_t(y) * size_t(targetPitch));
        if (y < top || y >= bottom) {
            std::fill(row, row + targetWidth, black);
        } else {
            std::fill(row, row + left, black);
            std::fill(row + right, row + targetWidth, black);
        }
    }
}

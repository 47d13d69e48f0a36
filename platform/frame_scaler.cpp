// Whole-number scaling of the 5-6-5 frame: each source row is widened once, then
// copied down as many rows as the scale.
#include "platform/frame_scaler.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

ScaledPlace PlaceScaled(int frameWidth, int frameHeight, int targetWidth, int targetHeight) {
    if (frameWidth <= 0 || frameHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) return {};
    int scale = std::min(targetWidth / frameWidth, targetHeight / frameHeight);
    int width = frameWidth * scale, height = frameHeight * scale;
    if (scale < 1) {
        // The side that runs short decides; the other keeps the frame's shape.
        const bool widthShort = int64_t(targetWidth) * frameHeight <= int64_t(targetHeight) * frameWidth;
        width = widthShort ? targetWidth : int(int64_t(targetHeight) * frameWidth / frameHeight);
        height = widthShort ? int(int64_t(targetWidth) * frameHeight / frameWidth) : targetHeight;
        if (width < 1 || height < 1) return {};
    }
    return {scale, (targetWidth - width) / 2, (targetHeight - height) / 2, width, height};
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

// The frame shrunk into place.width x place.height, each pixel the nearest source pixel.
void DrawShrunk(const uint8_t* frame, int framePitch, int frameWidth, int frameHeight, const uint32_t* colours,
                const ScaledPlace& place, uint8_t* target, int targetPitch) {
    for (int y = 0; y < place.height; ++y) {
        const uint8_t* source = frame + size_t(y * frameHeight / place.height) * size_t(framePitch);
        auto* out = reinterpret_cast<uint32_t*>(target + size_t(place.y + y) * size_t(targetPitch)) + place.x;
        for (int x = 0; x < place.width; ++x) {
            uint16_t v;
            std::memcpy(&v, source + 2 * (x * frameWidth / place.width), 2);
            out[x] = colours[v];
        }
    }
}
}  // namespace

void DrawScaled(const uint8_t* frame, int framePitch, int frameWidth, int frameHeight, const uint32_t* colours,
                const ScaledPlace& place, uint8_t* target, int targetPitch, int top, int bottom) {
    const int scale = place.scale;
    if (scale < 1) {
        DrawShrunk(frame, framePitch, frameWidth, frameHeight, colours, place, target, targetPitch);
        return;
    }
    auto widen = scale == 2 ? WidenRow<2> : scale == 3 ? WidenRow<3> : scale == 4 ? WidenRow<4> : WidenRow<0>;
    const size_t rowBytes = size_t(frameWidth) * size_t(scale) * 4;
    if (bottom < 0 || bottom > frameHeight) bottom = frameHeight;
    for (int y = top < 0 ? 0 : top; y < bottom; ++y) {
        uint8_t* first = target + size_t(place.y + y * scale) * size_t(targetPitch) + size_t(place.x) * 4;
        widen(frame + size_t(y) * size_t(framePitch), frameWidth, colours, reinterpret_cast<uint32_t*>(first), scale);
        for (int i = 1; i < scale; ++i) std::memcpy(first + size_t(i) * size_t(targetPitch), first, rowBytes);
    }
}

void FillBorders(const ScaledPlace& place, uint32_t black, uint8_t* target, int targetPitch, int targetWidth,
                 int targetHeight) {
    const bool drawn = place.width > 0 && place.height > 0;
    const int left = drawn ? place.x : targetWidth;
    const int right = drawn ? place.x + place.width : targetWidth;
    const int top = drawn ? place.y : targetHeight;
    const int bottom = drawn ? place.y + place.height : targetHeight;
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

// PNG output for headless screenshots and the window's F12.
#include "platform/png_writer.h"
#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO_FILE_LIMITS
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

std::vector<uint8_t> FrameToRgb(const void* frame, const GXDisplayProperties& props) {
    std::vector<uint8_t> rgb(size_t(props.cxWidth) * props.cyHeight * 3, 0);
    if (!frame || props.cBPP != 16) return rgb;
    auto* origin = static_cast<const uint16_t*>(frame);
    int32_t xStep = props.cbxPitch >> 1, yStep = props.cbyPitch >> 1;
    bool is565 = props.ffFormat & kfDirect565;
    for (uint32_t y = 0; y < props.cyHeight; ++y) {
        for (uint32_t x = 0; x < props.cxWidth; ++x) {
            uint16_t p = origin[int64_t(x) * xStep + int64_t(y) * yStep];
            uint8_t r, g, b;
            if (is565) {
                r = uint8_t((p >> 11) << 3);
                g = uint8_t(((p >> 5) & 0x3F) << 2);
                b = uint8_t((p & 0x1F) << 3);
            } else {
                r = uint8_t(((p >> 10) & 0x1F) << 3);
                g = uint8_t(((p >> 5) & 0x1F) << 3);
                b = uint8_t((p & 0x1F) << 3);
            }
            // Spread the top bits into the bottom so white is white.
            uint8_t* o = &rgb[(size_t(y) * props.cxWidth + x) * 3];
            o[0] = uint8_t(r | r >> 5);
            o[1] = uint8_t(g | g >> (is565 ? 6 : 5));
            o[2] = uint8_t(b | b >> 5);
        }
    }
    return rgb;
}

bool WriteRgbPng(const std::string& path, const uint8_t* rgb, int w, int h) {
    int length = 0;
    unsigned char* png = stbi_write_png_to_mem(rgb, w * 3, w, h, 3, &length);
    if (!png) {
        errno = ENOMEM;
        return false;
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    bool ok = out && std::fwrite(png, 1, size_t(length), out) == size_t(length);
    int error = errno;
    std::free(png);
    if (!out) return false;
    struct stat st {};
    const bool plainFile = fstat(fileno(out), &st) == 0 && S_ISREG(st.st_mode);
    if (std::fclose(out) != 0 && ok) {
        ok = false;
        error = errno;
    }
    // A picture cut short by a full disk is not left behind looking like a screenshot.
    if (!ok && plainFile) std::remove(path.c_str());
    errno = error;
    return ok;
}

bool WriteFramePng(const std::string& path, const void* frame, const GXDisplayProperties& props, int scale) {
    std::vector<uint8_t> rgb = FrameToRgb(frame, props);
    const size_t w = props.cxWidth, h = props.cyHeight;
    if (scale <= 1) return WriteRgbPng(path, rgb.data(), int(w), int(h));
    const size_t s = size_t(scale), bigW = w * s;
    std::vector<uint8_t> big(bigW * h * s * 3);
    for (size_t y = 0; y < h; ++y) {
        uint8_t* row = &big[y * s * bigW * 3];
        for (size_t x = 0; x < w; ++x)
            for (size_t i = 0; i < s; ++i) std::copy_n(&rgb[(y * w + x) * 3], 3, &row[(x * s + i) * 3]);
        for (size_t i = 1; i < s; ++i) std::copy_n(row, bigW * 3, row + i * bigW * 3);
    }
    return WriteRgbPng(path, big.data(), int(bigW), int(h * s));
}

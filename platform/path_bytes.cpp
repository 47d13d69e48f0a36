// The one conversion of names and paths between the system's bytes and wide characters.
#include "platform/path_bytes.h"
#include <cstdint>

namespace {
constexpr uint32_t EscapeBase = 0xDC00;  // a stray byte b (0x80..0xFF) stands as U+DC00 + b

bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at `at` (overlong forms, surrogates and
// code points past U+10FFFF are not well formed), or 0.
size_t SequenceLength(std::string_view s, size_t at) {
    const auto byte = [&](size_t i) { return at + i < s.size() ? (unsigned char)s[at + i] : 0; };
    unsigned char b0 = byte(0), b1 = byte(1);
    if (b0 < 0x80) return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) return Continuation(b1) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        unsigned char low = b0 == 0xE0 ? 0xA0 : 0x80, high = b0 == 0xED ? 0x9F : 0xBF;
        return b1 >= low && b1 <= high && Continuation(byte(2)) ? 3 : 0;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        unsigned char low = b0 == 0xF0 ? 0x90 : 0x80, high = b0 == 0xF4 ? 0x8F : 0xBF;
        return b1 >= low && b1 <= high && Continuation(byte(2)) && Continuation(byte(3)) ? 4 : 0;
    }
    return 0;
}
}  // namespace

std::wstring WideFromBytes(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        unsigned char b0 = (unsigned char)bytes[i];
        size_t n = SequenceLength(bytes, i);
        uint32_t c;
        if (n == 0) {
            c = EscapeBase + b0;
            n = 1;
        } else if (n == 1) {
            c = b0;
        } else {
            c = b0 & (0x7F >> n);
            for (size_t k = 1; k < n; ++k) c = c << 6 | ((unsigned char)bytes[i + k] & 0x3F);
        }
        out += wchar_t(c);
        i += n;
    }
    return out;
}

std::string BytesFromWide(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (wchar_t w : wide) {
        uint32_t c = uint32_t(w);
        if (c < 0x80) {
            out += char(c);
        } else if (c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF) {
            out += char(c - EscapeBase);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else if (c <= 0x10FFFF) {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += '?';  // no character at all
        }
    }
    return out;
}

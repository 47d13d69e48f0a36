// Names and escaping: the characters counted as UTF-8 decodes them.
#include "hall/names.h"
#include <cstdint>

namespace {
// Decodes the character at `i` (moving past it); false on bytes that are not UTF-8
// (overlong forms, surrogates and values past U+10FFFF included).
bool NextCharacter(std::string_view s, size_t& i, uint32_t& c) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    int more = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    if (more < 0 || i + size_t(more) >= s.size()) return false;
    c = more == 0 ? b : b & (0x3F >> more);
    for (int k = 1; k <= more; ++k) {
        const unsigned char n = static_cast<unsigned char>(s[i + size_t(k)]);
        if ((n >> 6) != 2) return false;
        c = (c << 6) | (n & 0x3F);
    }
    static const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += size_t(more) + 1;
    return true;
}
}  // namespace

std::string WhyNotAName(std::string_view name) {
    size_t count = 0;
    bool onlySpaces = true;
    for (size_t i = 0; i < name.size();) {
        uint32_t c = 0;
        if (!NextCharacter(name, i, c)) return "the name is not UTF-8 text";
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return "the name holds a control character";
        if (c != ' ') onlySpaces = false;
        ++count;
    }
    if (count == 0 || onlySpaces) return "the name is empty";
    if (count > LongestName) return "the name is longer than " + std::to_string(LongestName) + " characters";
    return "";
}

bool IsText(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        uint32_t c = 0;
        if (!NextCharacter(text, i, c) || c == 0) return false;
    }
    return true;
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

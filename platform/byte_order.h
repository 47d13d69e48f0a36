// The byte order of the files we read and write: little-endian fields (bitmaps, WAVE files,
// the settings' binary values) and the big-endian words of modules, and the bounded reader
// every loader reads through: past the end it reads 0 and reports a short read, never more.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

constexpr uint16_t ReadU16LE(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
constexpr uint32_t ReadU32LE(const uint8_t* p) { return ReadU16LE(p) | uint32_t(ReadU16LE(p + 2)) << 16; }
constexpr uint16_t ReadU16BE(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
constexpr uint32_t ReadU32BE(const uint8_t* p) { return uint32_t(ReadU16BE(p)) << 16 | ReadU16BE(p + 2); }

// Written in place; the 16-bit writers take the low 16 bits of v.
constexpr void WriteU16LE(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
constexpr void WriteU32LE(uint8_t* p, uint32_t v) {
    WriteU16LE(p, v & 0xFFFF);
    WriteU16LE(p + 2, v >> 16);
}
constexpr void WriteU16BE(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}

// Added to the end of `out`, a byte at a time (a ranged insert into a vector still
// empty sets off a false overflow warning in GCC 12).
inline void AppendU16LE(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
inline void AppendU32LE(std::vector<uint8_t>& out, uint32_t v) {
    AppendU16LE(out, v & 0xFFFF);
    AppendU16LE(out, v >> 16);
}
// A chunk or file tag such as "RIFF" or "BM", without its terminator.
template <size_t N>
void AppendTag(std::vector<uint8_t>& out, const char (&tag)[N]) {
    for (size_t i = 0; i + 1 < N; ++i) out.push_back(uint8_t(tag[i]));
}

// Reads bytes in memory front to back. A read that runs past the end gets 0 for every
// byte beyond it and leaves the reader short and at the end: a loader reads all its fields
// and asks Short() once, and no damaged file makes it read outside the bytes it was given.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

    uint8_t U8() {
        if (at_ < size_) return data_[at_++];
        short_ = true;
        return 0;
    }
    uint16_t U16LE() {
        uint8_t low = U8();
        return uint16_t(low | U8() << 8);
    }
    uint32_t U32LE() {
        uint32_t low = U16LE();
        return low | uint32_t(U16LE()) << 16;
    }
    uint16_t U16BE() {
        uint8_t high = U8();
        return uint16_t(high << 8 | U8());
    }
    // True when the next bytes are the tag; the reader moves past them either way.
    template <size_t N>
    bool Tag(const char (&tag)[N]) {
        const uint8_t* bytes = Take(N - 1);
        return bytes && std::memcmp(bytes, tag, N - 1) == 0;
    }
    // The next n bytes in place, or null (and short, at the end) when fewer are left.
    const uint8_t* Take(uint64_t n) {
        if (n > Remaining()) {
            Fail();
            return nullptr;
        }
        const uint8_t* bytes = data_ + at_;
        at_ += size_t(n);
        return bytes;
    }
    void Skip(uint64_t n) { Take(n); }
    // Moves to `at` from the start; past the end is a short read.
    void Seek(uint64_t at) {
        at_ = 0;
        Skip(at);
    }

    size_t Offset() const { return at_; }
    size_t Remaining() const { return size_ - at_; }
    bool Short() const { return short_; }

private:
    void Fail() {
        at_ = size_;
        short_ = true;
    }
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    bool short_ = false;
};

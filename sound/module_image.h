// Where things sit in a module image (31 samples, 4 channels) and how its cells and
// sample headers decode. Every read goes through a ByteReader: past the end reads 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include "platform/byte_order.h"

constexpr size_t ModuleTitleBytes = 20;
constexpr uint32_t ModuleSamples = 31;
constexpr size_t ModuleSampleHeaders = 20;  // 30 bytes each, samples 1..ModuleSamples
constexpr size_t ModuleSampleHeaderBytes = 30;
constexpr size_t ModuleSampleNameBytes = 22;
constexpr size_t ModuleSongLengthAt = 950;
constexpr size_t ModuleRestartAt = 951;
constexpr size_t ModuleOrdersAt = 952;
constexpr size_t ModuleOrderCount = 128;
constexpr size_t ModuleTagAt = 1080;
constexpr size_t ModulePatternsAt = 1084;
constexpr size_t ModulePatternBytes = 1024;
constexpr int ModuleRows = 64;
constexpr uint32_t ModuleNoRestart = 127;
// The largest image there can be: 256 patterns (a pattern number is a byte) and 31
// samples of 65535 words each, about 4.3 MB.
constexpr size_t ModuleLargestImage = ModulePatternsAt + 256 * ModulePatternBytes + ModuleSamples * 65535 * 2;

// The image read from `at` on.
inline ByteReader ImageAt(const uint8_t* data, size_t size, size_t at) {
    ByteReader in(data, size);
    in.Seek(at);
    return in;
}
// A byte of the image, 0 past its end.
inline uint8_t ImageByte(const uint8_t* data, size_t size, size_t at) { return ImageAt(data, size, at).U8(); }

// The song length the player uses: a byte of 0 plays one entry, above 128 plays 128.
inline uint32_t ImageSongLength(const uint8_t* data, size_t size) {
    uint32_t length = ImageByte(data, size, ModuleSongLengthAt);
    if (length == 0) return 1;
    return length > ModuleOrderCount ? uint32_t(ModuleOrderCount) : length;
}

// The highest pattern number among the orders played, plus one.
inline uint32_t ImagePatternCount(const uint8_t* data, size_t size) {
    uint32_t length = ImageSongLength(data, size);
    ByteReader orders = ImageAt(data, size, ModuleOrdersAt);
    uint32_t highest = 0;
    for (uint32_t i = 0; i < length; ++i) {
        uint32_t p = orders.U8();
        if (p > highest) highest = p;
    }
    return highest + 1;
}

// One cell of a pattern, decoded.
struct ModuleCell {
    uint32_t sample;  // 0: none
    uint32_t period;  // 0: none
    uint32_t effect;
    uint32_t parameter;
};

inline ModuleCell DecodeCell(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    return {uint32_t(b0 & 0xF0) | uint32_t(b2 >> 4), (uint32_t(b0 & 0x0F) << 8) | b1, uint32_t(b2 & 0x0F), b3};
}

inline ModuleCell ImageCell(const uint8_t* data, size_t size, uint32_t pattern, uint32_t row, uint32_t channel) {
    size_t at = ModulePatternsAt + size_t(pattern) * ModulePatternBytes + row * 16 + channel * 4;
    ByteReader in = ImageAt(data, size, at);
    uint8_t b0 = in.U8();
    uint8_t b1 = in.U8();
    uint8_t b2 = in.U8();
    return DecodeCell(b0, b1, b2, in.U8());
}

// What the player reads of a sample header, after its name: lengths in 16-bit words,
// the finetune as its low nibble.
struct ModuleSampleHeader {
    uint32_t words;
    uint32_t finetune;
    uint32_t volume;
    uint32_t loopStartWords;
    uint32_t loopWords;
};

inline ModuleSampleHeader ImageSampleHeader(const uint8_t* data, size_t size, uint32_t number) {
    size_t at = ModuleSampleHeaders + ModuleSampleHeaderBytes * (number - 1) + ModuleSampleNameBytes;
    ByteReader in = ImageAt(data, size, at);
    ModuleSampleHeader header;
    header.words = in.U16BE();
    header.finetune = in.U8() & 0x0F;
    header.volume = in.U8();
    header.loopStartWords = in.U16BE();
    header.loopWords = in.U16BE();
    return header;
}

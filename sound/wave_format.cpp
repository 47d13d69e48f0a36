// The RIFF/WAVE subset of the samples, read from bytes in memory: the format chunk
// first, then chunks walked up to "data", never past the end of the bytes.
#include <cstring>
#include "sound/sample.h"

namespace {
uint32_t U32At(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t U16At(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
}  // namespace

bool ParseWave(const uint8_t* bytes, uint32_t size, WaveLayout& layout) {
    // RIFF header (skipped), "fmt " header and the 16 format bytes.
    if (!bytes || size < 12 + 8 + 16) return false;
    const uint8_t* fmt = bytes + 12;
    if (std::memcmp(fmt, "fmt ", 4) != 0) return false;
    uint32_t fmtSize = U32At(fmt + 4);
    // A format chunk too short for the format would have it run into the next chunk.
    if (fmtSize < 16) return false;
    uint16_t channels = U16At(fmt + 8 + 2);
    uint32_t rate = U32At(fmt + 8 + 4);
    uint16_t bits = U16At(fmt + 8 + 14);
    if (bits != 8 || channels != 1) return false;
    if (rate > MaxSampleRate) return false;

    uint64_t at = 12 + 8 + uint64_t(fmtSize);
    while (at + 8 <= size) {
        const uint8_t* header = bytes + at;
        uint32_t chunkSize = U32At(header + 4);
        if (std::memcmp(header, "data", 4) == 0) {
            uint64_t dataOffset = at + 8;
            if (chunkSize > size - dataOffset) return false;  // data runs past the end
            if (chunkSize > MaxSampleLength) return false;
            layout.rate = rate;
            layout.dataOffset = uint32_t(dataOffset);
            layout.dataSize = chunkSize;
            return true;
        }
        at += 8 + uint64_t(chunkSize);
    }
    return false;  // no "data" chunk within the bytes
}

// The RIFF/WAVE subset of the samples, read from bytes in memory: the format chunk
// first, then chunks walked up to "data", never past the end of the bytes.
#include "platform/byte_order.h"
#include "sound/sample.h"

namespace {
// A WAVE file as the loaders walk it: the RIFF header, then chunks of a header (tag, size)
// and that many bytes, the format chunk first.
constexpr uint32_t RiffHeaderBytes = 12;
constexpr uint32_t ChunkHeaderBytes = 8;
constexpr uint32_t WaveFormatBytes = 16;

// The format the loaders play, given its chunk's size and first WaveFormatBytes bytes:
// 8 bits, one channel, at most MaxSampleRate, its rate put in `rate`. The tag is not read.
bool AcceptWaveFormat(uint32_t chunkSize, const uint8_t* format, uint32_t& rate) {
    // A format chunk too short for the format would have it run into the next chunk.
    if (chunkSize < WaveFormatBytes) return false;
    uint16_t channels = ReadU16LE(format + 2);
    uint16_t bits = ReadU16LE(format + 14);
    if (bits != 8 || channels != 1) return false;
    rate = ReadU32LE(format + 4);
    return rate <= MaxSampleRate;
}
}  // namespace

bool ParseWave(const uint8_t* bytes, uint32_t size, WaveLayout& layout) {
    ByteReader in(bytes, size);
    in.Skip(RiffHeaderBytes);
    bool isFormat = in.Tag("fmt ");
    uint32_t fmtSize = in.U32LE();
    const uint8_t* format = in.Take(WaveFormatBytes);
    uint32_t rate = 0;
    if (in.Short() || !isFormat || !AcceptWaveFormat(fmtSize, format, rate)) return false;

    in.Skip(fmtSize - WaveFormatBytes);
    while (in.Remaining() >= ChunkHeaderBytes) {
        bool isData = in.Tag("data");
        uint32_t chunkSize = in.U32LE();
        if (isData) {
            if (chunkSize > in.Remaining()) return false;  // data runs past the end
            if (chunkSize > MaxSampleLength) return false;
            layout.rate = rate;
            layout.dataOffset = uint32_t(in.Offset());
            layout.dataSize = chunkSize;
            return true;
        }
        in.Skip(chunkSize);
    }
    return false;  // no "data" chunk within the bytes
}

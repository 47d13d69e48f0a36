// Writes the bytes of a WAVE file: RIFF header, format chunk, optional INFO list,
// data chunk (with the RIFF pad byte after an odd size).
#include "tools/soundgen/wave_file.h"
#include "platform/byte_order.h"
#include "tools/soundgen/synth.h"

namespace soundgen {

namespace {
// An INFO sub-chunk holding text, zero-terminated and padded to even size.
void PutText(std::vector<uint8_t>& out, const char (&id)[5], const std::string& text, uint32_t size) {
    AppendTag(out, id);
    AppendU32LE(out, size);
    std::vector<uint8_t> body(size, 0);
    for (size_t i = 0; i < text.size() && i + 1 < size; ++i) body[i] = uint8_t(text[i]);
    out.insert(out.end(), body.begin(), body.end());
}
}  // namespace

std::vector<uint8_t> BuildWaveFile(const std::vector<uint8_t>& data, const WaveLayoutChoice& layout) {
    std::vector<uint8_t> body;
    AppendTag(body, "WAVE");
    AppendTag(body, "fmt ");
    AppendU32LE(body, layout.extensibleFormat ? 40 : 16);
    AppendU16LE(body, layout.extensibleFormat ? 0xFFFE : 1);
    AppendU16LE(body, 1);
    AppendU32LE(body, OutputRate);
    AppendU32LE(body, OutputRate);
    AppendU16LE(body, 1);
    AppendU16LE(body, 8);
    if (layout.extensibleFormat) {
        AppendU16LE(body, 22);   // extension size
        AppendU16LE(body, 8);    // valid bits
        AppendU32LE(body, 0x4);  // front centre
        // The PCM sub-format.
        const uint8_t pcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        body.insert(body.end(), pcm, pcm + 16);
    }
    if (layout.infoChunkBytes >= 4 + 8 + 8 + 2) {
        // LIST / INFO: a name and a software line, the comment taking up the rest.
        AppendTag(body, "LIST");
        AppendU32LE(body, layout.infoChunkBytes);
        AppendTag(body, "INFO");
        uint32_t nameBytes = uint32_t(layout.title.size() + 2) & ~1u;
        PutText(body, "INAM", layout.title, nameBytes);
        const std::string software = "glimmo-soundgen";
        uint32_t softwareBytes = uint32_t(software.size() + 2) & ~1u;
        PutText(body, "ISFT", software, softwareBytes);
        uint32_t commentBytes = layout.infoChunkBytes - 4 - (8 + nameBytes) - (8 + softwareBytes) - 8;
        PutText(body, "ICMT", "Original sound for Glimmo, synthesised from simple waves.", commentBytes);
    }
    AppendTag(body, "data");
    AppendU32LE(body, uint32_t(data.size()));
    body.insert(body.end(), data.begin(), data.end());
    if (data.size() & 1) body.push_back(0);

    std::vector<uint8_t> file;
    AppendTag(file, "RIFF");
    AppendU32LE(file, uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace soundgen

// Writes the bytes of a WAVE file: RIFF header, format chunk, optional INFO list,
// data chunk (with the RIFF pad byte after an odd size).
#include "tools/soundgen/wave_file.h"
#include "tools/soundgen/synth.h"

namespace soundgen {

namespace {
void Put(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(id[i]));
}
void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// An INFO sub-chunk holding text, zero-terminated and padded to even size.
void PutText(std::vector<uint8_t>& out, const char* id, const std::string& text, uint32_t size) {
    Put(out, id);
    PutU32(out, size);
    std::vector<uint8_t> body(size, 0);
    for (size_t i = 0; i < text.size() && i + 1 < size; ++i) body[i] = uint8_t(text[i]);
    out.insert(out.end(), body.begin(), body.end());
}
}  // namespace

std::vector<uint8_t> BuildWaveFile(const std::vector<uint8_t>& data, const WaveLayoutChoice& layout) {
    std::vector<uint8_t> body;
    Put(body, "WAVE");
    Put(body, "fmt ");
    PutU32(body, layout.extensibleFormat ? 40 : 16);
    PutU16(body, layout.extensibleFormat ? 0xFFFE : 1);
    PutU16(body, 1);
    PutU32(body, OutputRate);
    PutU32(body, OutputRate);
    PutU16(body, 1);
    PutU16(body, 8);
    if (layout.extensibleFormat) {
        PutU16(body, 22);          // extension size
        PutU16(body, 8);           // valid bits
        PutU32(body, 0x4);         // front centre
        // The PCM sub-format.
        const uint8_t pcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        body.insert(body.end(), pcm, pcm + 16);
    }
    if (layout.infoChunkBytes >= 4 + 8 + 8 + 2) {
        // LIST / INFO: a name and a software line, the comment taking up the rest.
        Put(body, "LIST");
        PutU32(body, layout.infoChunkBytes);
        Put(body, "INFO");
        uint32_t nameBytes = uint32_t(layout.title.size() + 2) & ~1u;
        PutText(body, "INAM", layout.title, nameBytes);
        const std::string software = "glimmo-soundgen";
        uint32_t softwareBytes = uint32_t(software.size() + 2) & ~1u;
        PutText(body, "ISFT", software, softwareBytes);
        uint32_t commentBytes = layout.infoChunkBytes - 4 - (8 + nameBytes) - (8 + softwareBytes) - 8;
        PutText(body, "ICMT", "Original sound for Glimmo, synthesised from simple waves.", commentBytes);
    }
    Put(body, "data");
    PutU32(body, uint32_t(data.size()));
    body.insert(body.end(), data.begin(), data.end());
    if (data.size() & 1) body.push_back(0);

    std::vector<uint8_t> file;
    Put(file, "RIFF");
    PutU32(file, uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace soundgen

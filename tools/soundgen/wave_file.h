// RIFF/WAVE files of the generated sounds: 8-bit mono 11025 Hz PCM, either plain
// (a 16-byte format chunk) or with a 40-byte extensible format chunk followed by an
// INFO list of a chosen size before the data.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

struct WaveLayoutChoice {
    bool extensibleFormat = false;  // 40-byte format chunk
    uint32_t infoChunkBytes = 0;    // a LIST/INFO chunk of exactly this size, 0 for none
    std::string title;              // the INFO name
};

std::vector<uint8_t> BuildWaveFile(const std::vector<uint8_t>& data, const WaveLayoutChoice& layout);

}  // namespace soundgen

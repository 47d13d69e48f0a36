// What the sound tests share: a headless clock with the virtual audio device, a
// sound system of the test's own, samples made from bytes, and WAVE bytes to load.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include <vector>
#include "sound/sample.h"
#include "sound/sound_system.h"

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Moves virtual time as a sleep of the game would (blocks play meanwhile).
    void Advance(uint32_t ms);
    // Renders one block of the mixer into `out` under its lock, as the thread does.
    std::vector<uint8_t> MixOneBlock();

    SoundSystem mixer;
};

// A sample over bytes the test keeps alive.
void PointSampleAt(Sample& sample, const std::vector<uint8_t>& bytes, uint32_t rate, bool loop = false);

// RIFF/WAVE bytes: fmt chunk of `fmtSize` (>= 16) bytes, optional extra chunk, data.
struct WaveRecipe {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 11025;
    uint16_t bits = 8;
    uint32_t fmtSize = 16;
    uint32_t extraChunkSize = 0;  // a "LIST" chunk of this size before "data", 0 for none
    bool withData = true;
    std::vector<uint8_t> data;  // empty: four bytes 128, 200, 56, 128
};
std::vector<uint8_t> MakeWave(const WaveRecipe& recipe);
void SetU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value);
// Writes bytes to a fresh file under /tmp and returns its full path.
std::string WriteTempFile(const std::vector<uint8_t>& bytes);

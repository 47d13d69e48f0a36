// The sound tests' shared set-up: headless clock, virtual audio device, WAVE bytes.
#include "tests/sound/sound_fixture.h"
#include <unistd.h>
#include <cstdio>
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"

void SoundTest::SetUp() {
    UseHeadlessBackend(1000000);
    UseVirtualWaveOut();
}

void SoundTest::TearDown() { mixer.Close(); }

void SoundTest::Advance(uint32_t ms) { CurrentBackend().Sleep(ms); }

std::vector<uint8_t> SoundTest::MixOneBlock() {
    std::vector<uint8_t> out(mixer.framesPerBlock << mixer.stereo, 0xEE);
    std::lock_guard<std::mutex> hold(mixer.lock);
    uint8_t* saved = mixer.currentBlock;
    mixer.currentBlock = out.data();
    mixer.MixBlock();
    mixer.currentBlock = saved;
    return out;
}

void PointSampleAt(Sample& sample, const std::vector<uint8_t>& bytes, uint32_t rate, bool loop) {
    sample.data = bytes.data();
    sample.length = uint32_t(bytes.size());
    sample.rate = rate;
    sample.loop = loop;
}

void SetU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

namespace {
void Put(std::vector<uint8_t>& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(id[i]));
}
void PutU32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void PutU16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
}  // namespace

std::vector<uint8_t> MakeWave(const WaveRecipe& s) {
    std::vector<uint8_t> b;
    Put(b, "RIFF");
    PutU32(b, 0);
    Put(b, "WAVE");
    Put(b, "fmt ");
    PutU32(b, s.fmtSize);
    PutU16(b, s.tag);
    PutU16(b, s.channels);
    PutU32(b, s.rate);
    PutU32(b, s.rate * s.channels * (s.bits / 8));
    PutU16(b, uint16_t(s.channels * (s.bits / 8)));
    PutU16(b, s.bits);
    for (uint32_t i = 16; i < s.fmtSize; ++i) b.push_back(0xAB);
    if (s.extraChunkSize) {
        Put(b, "LIST");
        PutU32(b, s.extraChunkSize);
        // Bytes that look like a data header, which the walk must skip over.
        for (uint32_t i = 0; i < s.extraChunkSize; ++i) b.push_back(uint8_t("data"[i % 4]));
    }
    if (s.withData) {
        std::vector<uint8_t> data = s.data;
        if (data.empty()) {
            for (uint8_t v : {128, 200, 56, 128}) data.push_back(v);
        }
        Put(b, "data");
        PutU32(b, uint32_t(data.size()));
        b.insert(b.end(), data.begin(), data.end());
    }
    SetU32(b, 4, uint32_t(b.size() - 8));
    return b;
}

std::string WriteTempFile(const std::vector<uint8_t>& bytes) {
    char name[] = "/tmp/glimmo-sound-XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) return {};
    FILE* f = fdopen(fd, "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return name;
}

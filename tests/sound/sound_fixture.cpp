// The sound tests' shared set-up: headless clock, virtual audio device, WAVE bytes.
#include "tests/sound/sound_fixture.h"
#include <unistd.h>
#include <cstdio>
#include "platform/byte_order.h"
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

void SetU32(std::vector<uint8_t>& b, size_t at, uint32_t v) { WriteU32LE(&b[at], v); }

std::vector<uint8_t> MakeWave(const WaveRecipe& s) {
    std::vector<uint8_t> b;
    AppendTag(b, "RIFF");
    AppendU32LE(b, 0);
    AppendTag(b, "WAVE");
    AppendTag(b, "fmt ");
    AppendU32LE(b, s.fmtSize);
    AppendU16LE(b, s.tag);
    AppendU16LE(b, s.channels);
    AppendU32LE(b, s.rate);
    AppendU32LE(b, s.rate * s.channels * (s.bits / 8));
    AppendU16LE(b, uint16_t(s.channels * (s.bits / 8)));
    AppendU16LE(b, s.bits);
    for (uint32_t i = 16; i < s.fmtSize; ++i) b.push_back(0xAB);
    if (s.extraChunkSize) {
        AppendTag(b, "LIST");
        AppendU32LE(b, s.extraChunkSize);
        // Bytes that look like a data header, which the walk must skip over.
        for (uint32_t i = 0; i < s.extraChunkSize; ++i) b.push_back(uint8_t("data"[i % 4]));
    }
    if (s.withData) {
        std::vector<uint8_t> data = s.data;
        if (data.empty()) {
            for (uint8_t v : {128, 200, 56, 128}) data.push_back(v);
        }
        AppendTag(b, "data");
        AppendU32LE(b, uint32_t(data.size()));
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

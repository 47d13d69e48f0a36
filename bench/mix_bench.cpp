// The mixing pass against a floor measured in the same run: MixBlock of one 588-frame
// stereo block at 22050 Hz with 16 sample voices playing, and the same 1176 bytes
// filled by plain byte writes. Prints the microseconds per block and the ratio.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

namespace {

struct Setup {
    Setup() {
        UseHeadlessBackend(1000000);
        UseVirtualWaveOut();
        mixer.Open(22050, 0, 16, true);
        for (size_t i = 0; i < tone.size(); ++i) tone[i] = uint8_t(128 + (i * 7) % 100 - 50);
        sample.data = tone.data();
        sample.length = uint32_t(tone.size());
        sample.rate = 11025;
        sample.loop = true;
        for (int i = 0; i < 16; ++i) {
            sample.SetPan(i * 16);  // a mix of centred and panned voices
            mixer.PlaySample(sample);
        }
        block.resize(mixer.framesPerBlock << mixer.stereo);
    }
    ~Setup() { mixer.Close(); }
    SoundSystem mixer;
    Sample sample;
    std::vector<uint8_t> tone = std::vector<uint8_t>(20000);
    std::vector<uint8_t> block;
};

Setup& World() {
    static Setup setup;
    return setup;
}

void MixBlockSixteenVoices(benchmark::State& state) {
    Setup& w = World();
    std::lock_guard<std::mutex> hold(w.mixer.lock);
    w.mixer.currentBlock = w.block.data();
    for (auto _ : state) {
        w.mixer.MixBlock();
        benchmark::DoNotOptimize(w.block.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(MixBlockSixteenVoices);

void PlainByteWrites(benchmark::State& state) {
    Setup& w = World();
    uint8_t* out = w.block.data();
    const size_t bytes = w.block.size();
    for (auto _ : state) {
        for (size_t i = 0; i < bytes; ++i) {
            out[i] = uint8_t(0x80 + (i & 1));
            benchmark::DoNotOptimize(out[i]);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PlainByteWrites);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) nanos[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanos;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double mix = reporter.nanos["MixBlockSixteenVoices"];
    double floor = reporter.nanos["PlainByteWrites"];
    if (mix > 0 && floor > 0)
        std::printf(
            "MixBlock, 16 voices, 588 stereo frames: %.2f us of CPU per block (%.1f%% of the block's 26.7 ms); "
            "%.1f x the plain byte writes (%.3f us)\n",
            mix / 1000.0, mix / 1000.0 / 26667.0 * 100.0, mix / floor, floor / 1000.0);
    World().mixer.Close();
    benchmark::Shutdown();
    return 0;
}

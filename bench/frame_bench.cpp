// What a frame costs: composing (backdrop copy, a few dozen keyed 12 x 12 sprites) and
// presenting, and a whole in-game frame, each against two plain 77,440-byte memcpys
// measured in the same run. Prints the ratios.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include "app/entry.h"
#include "app/global_objects.h"
#include "app/volume_keys.h"
#include "app/window_proc.h"
#include "bench/median_times.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "gfx/art.h"
#include "gfx/display_access.h"
#include "platform/headless/headless_backend.h"
#include "platform/resources.h"

namespace {
HeadlessBackend* backend = nullptr;

void World() {
    if (backend) return;
    backend = &UseHeadlessBackend();
    ConstructGlobalObjects();
    AppInstance = ProgramInstance();
    OpenDisplay(nullptr);
}

void TwoMemcpys(benchmark::State& state) {
    std::vector<uint8_t> a(77440, 1), b(77440, 2), c(77440, 3);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::DoNotOptimize(b.data());
        std::memcpy(c.data(), b.data(), b.size());
        benchmark::DoNotOptimize(c.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TwoMemcpys);

void ComposeAndPresent(benchmark::State& state) {
    World();
    for (auto _ : state) {
        CopySurface(BackBuffer, MazeCanvas);
        for (int i = 0; i < 40; ++i)
            BlitKeyed(BackBuffer, (i * 37) % 170 - 3, (i * 53) % 214, 12, 12, SpriteSheet, KeyColour, (i % 8) * 12,
                      (i % 4) * 12);
        PresentFrame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ComposeAndPresent);

void WholeGameFrame(benchmark::State& state) {
    World();
    StartNewGame();
    for (auto _ : state) {
        backend->Advance(11);
        GameFrame();
    }
}
BENCHMARK(WholeGameFrame);

// Reports each benchmark's CPU time per iteration against the memcpy floor of the same
// run (CPU time: the machines are shared, and wall time counts the neighbours too); with
// --benchmark_repetitions the medians are compared.
class RatioReporter : public MedianTimes {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double floor = Time("TwoMemcpys");
        if (floor <= 0) return;
        for (const char* name : {"ComposeAndPresent", "WholeGameFrame"})
            if (Time(name) > 0) std::printf("%s: %.2f x two 77,440-byte memcpys\n", name, Time(name) / floor);
    }
};
}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

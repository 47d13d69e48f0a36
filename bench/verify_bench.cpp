// What the check of a replay (--verify) costs against a full headless run of the same
// replay, measured in the same run, and against the game time the replay holds: in this
// process (the game alone) and as a fresh process (the program's start and exit too, as
// a server or a script pays it). CPU time throughout: the machines are shared.
// Usage: verify_bench [benchmark flags] [REPLAY]; by default the five-minute demo fixture.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>
#include "bench/child_run.h"
#include "bench/median_times.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/input_file.h"
#include "run/headless_run.h"
#include "run/replay_file.h"
#include "run/verify.h"

namespace {

std::string replayPath = GLIMMO_FIVE_MINUTE_REPLAY;
std::string replayText;
double gameSeconds = 0;

void Check(benchmark::State& state) {
    for (auto _ : state) {
        VerifyResult result = VerifyReplay(replayText);
        if (result.verdict != Verdict::Holds) state.SkipWithError(result.why.c_str());
        benchmark::DoNotOptimize(result.score);
    }
}
BENCHMARK(Check)->Unit(benchmark::kMillisecond);

// The same replay played as `glimmo --headless --replay FILE` plays it.
void FullRun(benchmark::State& state) {
    CommandLine cl;
    cl.headless = true;
    cl.replay = replayPath;
    for (auto _ : state) {
        HeadlessBackend& backend = UseHeadlessBackend();
        UseVirtualWaveOut();
        if (RunHeadless(cl, {backend, VirtualSoundRecorder()}) != 0) state.SkipWithError("the full run failed");
    }
}
BENCHMARK(FullRun)->Unit(benchmark::kMillisecond);

// A fresh process each time: its CPU time, user and system, as the kernel counts it.
void Process(benchmark::State& state, std::vector<const char*> argv) {
    for (auto _ : state) {
        const ChildRun run = RunChild(argv);
        if (!run.ok) state.SkipWithError("the program failed");
        state.SetIterationTime(run.cpuSeconds);
    }
}
void CheckProcess(benchmark::State& state) { Process(state, {GLIMMO_EXE, "--verify", replayPath.c_str()}); }
BENCHMARK(CheckProcess)->UseManualTime()->Unit(benchmark::kMillisecond);
void FullRunProcess(benchmark::State& state) {
    Process(state, {GLIMMO_EXE, "--headless", "--replay", replayPath.c_str()});
}
BENCHMARK(FullRunProcess)->UseManualTime()->Unit(benchmark::kMillisecond);

// Each check against the full run of the same kind and against the game time; with
// --benchmark_repetitions the medians are compared.
class RatioReporter : public MedianTimes {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("the replay: %s, %.1f s of game time\n", replayPath.c_str(), gameSeconds);
        for (const auto& [check, full] : {std::pair{"Check", "FullRun"}, {"CheckProcess", "FullRunProcess"}}) {
            if (Time(check) <= 0) continue;
            std::printf("%s: %.2f ms of CPU, %.0f x real time", check, Time(check) * 1e3, gameSeconds / Time(check));
            if (Time(full) > 0)
                std::printf(", %.1f x faster than %s (%.2f ms)", Time(full) / Time(check), full, Time(full) * 1e3);
            std::printf("\n");
        }
    }

protected:
    // A process's time is the manual one (its CPU); in this process, its CPU time.
    double TimeOf(const Run& r) const override {
        const std::string name = r.run_name.function_name;
        return (name.find("Process") != std::string::npos ? r.GetAdjustedRealTime() : r.GetAdjustedCPUTime()) / 1e3;
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc > 1) replayPath = argv[1];
    if (std::string why = ReadInputFile(replayPath, LargestReplay, false, replayText); !why.empty()) {
        std::fprintf(stderr, "verify_bench: cannot read %s: %s\n", replayPath.c_str(), why.c_str());
        return 2;
    }
    const VerifyResult first = VerifyReplay(replayText);
    if (first.verdict != Verdict::Holds) {
        std::fprintf(stderr, "verify_bench: %s does not hold: %s\n", replayPath.c_str(), first.why.c_str());
        return 2;
    }
    gameSeconds = double(first.gameMs) / 1e3;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

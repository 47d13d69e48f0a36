// Rendering a real song with the module player against a reference player, both timed
// in one run by CPU time: our whole song mixed into memory block by block at 44100 Hz
// stereo (and the module voice's own share, its frames summed without the mixer), and
// openmpt123 rendering the same song into a file. Prints the ratios.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/path_bytes.h"
#include "sound/module.h"
#include "sound/module_tables.h"
#include "sound/module_voice.h"
#include "sound/sound_system.h"

namespace {

const char* const SongPath = "/usr/share/tuxtype/sounds/game.mod";  // Debian package tuxtype-data
constexpr uint32_t Rate = 44100;

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double ChildSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

size_t songBytes = 0;  // what our render made, for the report

void RenderSongToMemory(benchmark::State& state) {
    UseHeadlessBackend(1000000);
    UseVirtualWaveOut();
    SoundSystem mixer;
    Module module;
    if (!module.LoadFromFile(WideFromBytes(SongPath).c_str())) {
        state.SkipWithError("the song is not installed (Debian package tuxtype-data)");
        return;
    }
    mixer.Open(Rate, 1, 8, true);
    const size_t blockBytes = size_t(mixer.framesPerBlock) << mixer.stereo;
    std::vector<uint8_t> memory(size_t(Rate) * 2 * 600);  // room for ten minutes
    for (auto _ : state) {
        double start = ThreadSeconds();
        mixer.StopAllModules();
        uint32_t voice = mixer.PlayModule(module);
        std::lock_guard<std::mutex> hold(mixer.lock);
        size_t at = 0;
        while (voice != NoVoice && !mixer.moduleVoices[voice].stopped.load() && at + blockBytes <= memory.size()) {
            mixer.currentBlock = memory.data() + at;
            mixer.MixBlock();
            at += blockBytes;
        }
        benchmark::DoNotOptimize(memory.data());
        songBytes = at;
        state.SetIterationTime(ThreadSeconds() - start);
    }
    mixer.Close();
}
BENCHMARK(RenderSongToMemory)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// The module voice alone: every frame of the song, its sums stored as the mixer would.
void ModuleVoiceFramesToMemory(benchmark::State& state) {
    Module module;
    if (!module.LoadFromFile(WideFromBytes(SongPath).c_str())) {
        state.SkipWithError("the song is not installed (Debian package tuxtype-data)");
        return;
    }
    std::atomic<uint32_t> master{64};
    std::vector<uint8_t> memory(size_t(Rate) * 2 * 600);
    for (auto _ : state) {
        double start = ThreadSeconds();
        ModuleVoice voice;
        voice.masterVolume = &master;
        voice.Start(module, StepTableFor(Rate), Rate);
        uint8_t* out = memory.data();
        uint8_t* end = out + memory.size();
        while (!voice.stopped.load(std::memory_order_relaxed) && out < end) {
            int32_t left = 0, right = 0;
            voice.MixFrame(left, right);
            *out++ = uint8_t(std::clamp(left >> 7, -128, 127) + 128);
            *out++ = uint8_t(std::clamp(right >> 7, -128, 127) + 128);
        }
        benchmark::DoNotOptimize(memory.data());
        state.SetIterationTime(ThreadSeconds() - start);
    }
}
BENCHMARK(ModuleVoiceFramesToMemory)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void ReferenceRenderToFile(benchmark::State& state) {
    if (std::system("command -v openmpt123 >/dev/null 2>&1") != 0 || !std::filesystem::exists(SongPath)) {
        state.SkipWithError("openmpt123 or the song is not installed");
        return;
    }
    std::string out = (std::filesystem::temp_directory_path() / "glimmo_module_bench.wav").string();
    std::string command =
        "openmpt123 --batch --quiet --force --samplerate 44100 --channels 2 --no-float --filter 1 "
        "--ramping 0 --dither 0 --stereo 100 --repeat 0 --ctl render.resampler.emulate_amiga=0 -o '" +
        out + "' '" + SongPath + "' >/dev/null 2>&1";
    for (auto _ : state) {
        double start = ChildSeconds();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("openmpt123 failed");
            break;
        }
        state.SetIterationTime(ChildSeconds() - start);
    }
    std::filesystem::remove(out);
}
BENCHMARK(ReferenceRenderToFile)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred) seconds[run.run_name.function_name] = run.GetAdjustedRealTime() / 1000.0;
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double ours = reporter.seconds["RenderSongToMemory"], theirs = reporter.seconds["ReferenceRenderToFile"];
    double voiceAlone = reporter.seconds["ModuleVoiceFramesToMemory"];
    double songSeconds = double(songBytes) / (2.0 * Rate);
    if (ours > 0 && theirs > 0)
        std::printf(
            "game.mod, %.1f s of song at 44100 Hz stereo: ours %.1f ms of CPU (%.0f x real time), openmpt123 "
            "%.1f ms: openmpt123 takes %.2f x our time\n",
            songSeconds, ours * 1000, songSeconds / ours, theirs * 1000, theirs / ours);
    if (voiceAlone > 0 && theirs > 0)
        std::printf("the module voice alone (no mixer pass around it): %.1f ms: openmpt123 takes %.2f x its time\n",
                    voiceAlone * 1000, theirs / voiceAlone);
    benchmark::Shutdown();
    return 0;
}

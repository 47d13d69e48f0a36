// The headless harness by the thousand games: autopilot play with the sound recorded
// (--audio-out), as a fresh process, against the virtual time it plays. Prints how
// many times faster than real time it runs and the CPU a virtual minute costs.
// Usage: headless_bench [RUNS [PATH/TO/glimmo]]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include "bench/child_run.h"

namespace {
void Measure(const char* program, const char* label, const char* untilTick, double virtualSeconds, int runs,
             const std::string& wav) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        ChildRun r = RunChild(
            {program, "--headless", "--autopilot", "1", "--until-tick", untilTick, "--audio-out", wav.c_str()});
        wall.push_back(r.seconds);
        cpu.push_back(r.cpuSeconds);
    }
    const double c = Median(cpu), w = Median(wall);
    std::printf(
        "%s: median %.1f ms of CPU, %.1f ms wall: %.0f x real time in CPU (%.0f x in wall time), "
        "%.1f ms of CPU a virtual minute\n",
        label, c * 1e3, w * 1e3, virtualSeconds / c, virtualSeconds / w, c * 1e3 * 60 / virtualSeconds);
}
}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    if (runs < 1) runs = 1;
    const char* program = argc > 2 ? argv[2] : GLIMMO_EXE;  // another build, to compare
    const std::string wav = (std::filesystem::temp_directory_path() / "glimmo_headless_bench.wav").string();
    Measure(program, "headless autopilot, one virtual minute, whole process", "60000", 60, runs, wav);
    Measure(program, "headless autopilot, ten virtual minutes, whole process", "600000", 600, runs, wav);
    std::filesystem::remove(wav);
    return 0;
}

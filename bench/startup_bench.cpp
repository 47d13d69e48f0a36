// Start-up and memory: the headless game from nothing to its first presented frame,
// against a program that only initialises SDL and exits, each started as a fresh
// process, the two taking turns. Also the peak memory of each, and of a minute of
// autopilot play. Prints the ratios. Usage: startup_bench [RUNS [PATH/TO/glimmo]]
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "bench/child_run.h"

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    if (runs < 1) runs = 1;
    const char* program = argc > 2 ? argv[2] : GLIMMO_EXE;  // another build, to compare
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::vector<double> sdlWall, sdlCpu, firstWall, firstCpu;
    long sdlPeak = 0, firstPeak = 0;
    for (int i = 0; i < runs; ++i) {
        ChildRun sdl = RunChild({SDL_INIT_ONLY});
        ChildRun first = RunChild({program, "--headless", "--frames", "1"});
        sdlWall.push_back(sdl.seconds);
        sdlCpu.push_back(sdl.cpuSeconds);
        firstWall.push_back(first.seconds);
        firstCpu.push_back(first.cpuSeconds);
        sdlPeak = std::max(sdlPeak, sdl.peakKiB);
        firstPeak = std::max(firstPeak, first.peakKiB);
    }
    long minutePeak = 0;
    for (int i = 0; i < 3; ++i)
        minutePeak = std::max(minutePeak,
                              RunChild({program, "--headless", "--autopilot", "1", "--until-tick", "60000"}).peakKiB);
    std::printf("SDL init and quit:        median %7.2f ms wall, %7.2f ms CPU, peak %6ld KiB\n", Median(sdlWall) * 1e3,
                Median(sdlCpu) * 1e3, sdlPeak);
    std::printf("headless to first frame:  median %7.2f ms wall, %7.2f ms CPU, peak %6ld KiB\n",
                Median(firstWall) * 1e3, Median(firstCpu) * 1e3, firstPeak);
    std::printf("headless minute of autopilot:                               peak %6ld KiB\n", minutePeak);
    std::printf("start-up: %.2f x SDL init and quit in wall time, %.2f x in CPU time (medians of %d, taking turns)\n",
                Median(firstWall) / Median(sdlWall), Median(firstCpu) / Median(sdlCpu), runs);
    std::printf("peak memory: %.2f x SDL init and quit at start-up, %.2f x after a minute of play\n",
                double(firstPeak) / double(sdlPeak), double(minutePeak) / double(sdlPeak));
    return 0;
}

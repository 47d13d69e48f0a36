// Start-up and memory: the headless game from nothing to its first presented frame,
// against a program that only initialises SDL and exits, each started as a fresh
// process. Also the peak memory of each, and of a minute of autopilot play.
// Prints the ratios. Usage: startup_bench [RUNS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
struct ChildRun {
    double seconds;
    long peakKiB;
};

// Starts a program; its wall time and peak resident memory.
ChildRun InChild(const std::vector<const char*>& argv) {
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (const char* a : argv) args.push_back(const_cast<char*>(a));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "a child run failed\n");
    return {s, usage.ru_maxrss};
}

ChildRun Best(const std::vector<const char*>& work, int runs) {
    ChildRun best{1e9, 0};
    for (int i = 0; i < runs; ++i) {
        ChildRun r = InChild(work);
        if (r.seconds < best.seconds) best.seconds = r.seconds;
        if (r.peakKiB > best.peakKiB) best.peakKiB = r.peakKiB;
    }
    return best;
}
}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    if (runs < 1) runs = 1;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ChildRun sdl = Best({SDL_INIT_ONLY}, runs);
    ChildRun first = Best({GLIMMO_EXE, "--headless", "--frames", "1"}, runs);
    ChildRun minute = Best({GLIMMO_EXE, "--headless", "--autopilot", "1", "--until-tick", "60000"}, 3);
    std::printf("SDL init and quit:              %8.2f ms  peak %6ld KiB\n", sdl.seconds * 1e3, sdl.peakKiB);
    std::printf("headless to first frame:        %8.2f ms  peak %6ld KiB\n", first.seconds * 1e3, first.peakKiB);
    std::printf("headless minute of autopilot:   %8.2f ms  peak %6ld KiB\n", minute.seconds * 1e3, minute.peakKiB);
    std::printf("start-up: %.2f x SDL init and quit (best of %d)\n", first.seconds / sdl.seconds, runs);
    std::printf("peak memory: %.2f x SDL init and quit at start-up, %.2f x after a minute of play\n",
                double(first.peakKiB) / double(sdl.peakKiB), double(minute.peakKiB) / double(sdl.peakKiB));
    return 0;
}

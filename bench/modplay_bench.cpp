// glimmo-modplay --out against xmp, whole processes taking turns on the same song with
// the same settings (22050 Hz, 8-bit stereo, nearest sample, full separation): the
// median CPU time (user and system) and wall time of each, and their ratios.
// Needs xmp and the song (Debian packages xmp and tuxtype-data); says so and skips
// where either is missing. Usage: modplay_bench [RUNS [PATH/TO/glimmo-modplay]]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include "bench/child_run.h"

namespace {
const char* const SongPath = "/usr/share/tuxtype/sounds/game.mod";  // Debian package tuxtype-data
}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    if (runs < 1) runs = 1;
    const char* program = argc > 2 ? argv[2] : MODPLAY_EXE;  // another build, to compare
    if (std::system("command -v xmp >/dev/null 2>&1") != 0 || !std::filesystem::exists(SongPath)) {
        std::printf("modplay_bench: skipped, xmp or %s is not installed (Debian packages xmp, tuxtype-data)\n",
                    SongPath);
        return 0;
    }
    const auto temp = std::filesystem::temp_directory_path();
    const std::string ours = (temp / "glimmo_modplay_bench.wav").string();
    const std::string theirs = (temp / "glimmo_modplay_bench_xmp.wav").string();
    std::vector<double> ourCpu, ourWall, xmpCpu, xmpWall;
    for (int i = 0; i < runs; ++i) {
        ChildRun a = RunChild({program, "--out", ours.c_str(), "--rate", "22050", SongPath});
        ChildRun b = RunChild(
            {"xmp", "--norc", "-i", "nearest", "-b", "8", "-f", "22050", "-P", "100", "-o", theirs.c_str(), SongPath});
        if (!a.ok || !b.ok) return 1;
        ourCpu.push_back(a.cpuSeconds);
        ourWall.push_back(a.seconds);
        xmpCpu.push_back(b.cpuSeconds);
        xmpWall.push_back(b.seconds);
    }
    std::filesystem::remove(ours);
    std::filesystem::remove(theirs);
    std::printf("glimmo-modplay --out: median %.1f ms of CPU, %.1f ms wall\n", Median(ourCpu) * 1e3,
                Median(ourWall) * 1e3);
    std::printf("xmp -o:               median %.1f ms of CPU, %.1f ms wall\n", Median(xmpCpu) * 1e3,
                Median(xmpWall) * 1e3);
    std::printf("glimmo-modplay --out: %.2f x xmp's CPU time, %.2f x its wall time (medians of %d, taking turns)\n",
                Median(ourCpu) / Median(xmpCpu), Median(ourWall) / Median(xmpWall), runs);
    return 0;
}

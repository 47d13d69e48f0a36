// glimmo-modplay: plays a four-channel tracker module with the game's own mixer, on the
// audio device until the song ends or Ctrl-C, or offline into a WAV file.
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/clock.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/path_bytes.h"
#include "platform/sdl/sdl_waveout.h"
#include "sound/module.h"
#include "sound/module_image.h"
#include "sound/sound_system.h"
#include "tools/modplay/clock_backend.h"
#include "tools/modplay/modplay_options.h"
#include "tools/modplay/song_info.h"

namespace {

std::atomic<bool> interrupted{false};

// A song that never ends by itself is cut here when rendering without --seconds.
constexpr double LongestRender = 20 * 60;

struct Position {
    uint32_t order, row;
    bool playing;
};

Position Where(SoundSystem& mixer, uint32_t voice) {
    std::lock_guard<std::mutex> hold(mixer.lock);
    ModuleVoice& v = mixer.moduleVoices[voice];
    // The row counter has already moved on from the row being heard.
    return {v.order, v.row, !v.stopped.load()};
}

void ShowProgress(const Position& p, uint32_t songLength, double seconds) {
    std::fprintf(stderr, "\r  order %3u/%u  row %2u  %6.1f s ", p.order + 1 > songLength ? songLength : p.order + 1,
                 songLength, p.row, seconds);
    std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
    ModplayOptions options;
    std::string error;
    if (!ParseModplayOptions(argc, argv, options, &error)) {
        std::fprintf(stderr, "glimmo-modplay: %s\n(glimmo-modplay --help shows the options)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(ModplayHelp().c_str(), stdout);
        return 0;
    }

    // Names on the command line are taken from the current folder, not the program's.
    std::error_code ec;
    std::string path = std::filesystem::absolute(options.file, ec).string();
    Module module;
    if (ec || !module.LoadFromFile(WideFromBytes(path).c_str())) {
        std::fprintf(stderr, "glimmo-modplay: cannot read %s (missing, unreadable or empty)\n", options.file.c_str());
        return 2;
    }
    if (std::string why = WhyNotAModule(module.size); !why.empty()) {
        std::fprintf(stderr, "glimmo-modplay: %s is not a module: %s\n", options.file.c_str(), why.c_str());
        return 2;
    }
    module.SetLoop(options.loop);
    module.SetVolume(options.volume);
    module.SetPan(options.separation);
    const uint32_t songLength = ImageSongLength(module.data, module.size);
    std::printf("%s\n  \"%s\", song length %u (%u patterns), %u Hz %s%s\n", options.file.c_str(),
                SongTitle(module.data, module.size).c_str(), songLength, ImagePatternCount(module.data, module.size),
                options.rate, options.mono ? "mono" : "stereo", options.loop ? ", looping" : "");
    std::fflush(stdout);

    const bool offline = !options.out.empty();
    if (offline) {
        UseHeadlessBackend();
        UseVirtualWaveOut();
        SetVirtualAudioOut(options.out);
    } else {
        UseClockBackend();
        UseSdlWaveOut();
    }
    SoundSystem mixer;
    if (!mixer.Open(options.rate, 1, 8, !options.mono)) {
        std::fprintf(stderr, "glimmo-modplay: no audio device to play on (try --out FILE.wav)\n");
        return 1;
    }
    uint32_t voice = mixer.PlayModule(module);
    if (voice == NoVoice) {
        mixer.Close();
        std::fprintf(stderr, "glimmo-modplay: the mixer would not start the module\n");
        return 1;
    }

    std::signal(SIGINT, [](int) { interrupted = true; });
    const double limit = options.seconds > 0 ? options.seconds : offline ? LongestRender : 0;
    const bool showProgress = isatty(STDERR_FILENO);
    const uint32_t start = GetTickCount();
    uint32_t lastShown = start;
    Position where{};
    for (;;) {
        Sleep(offline ? 20 : 50);
        double seconds = double(GetTickCount() - start) / 1000.0;
        where = Where(mixer, voice);
        if (showProgress && (GetTickCount() - lastShown >= 100 || !where.playing)) {
            ShowProgress(where, songLength, seconds);
            lastShown = GetTickCount();
        }
        if (!where.playing || interrupted || (limit > 0 && seconds >= limit)) break;
    }
    // The last blocks the mixer made are still queued: let them play out (five blocks).
    if (!where.playing) Sleep(150);
    if (showProgress) std::fputc('\n', stderr);
    if (offline && options.seconds == 0 && where.playing)
        std::fprintf(stderr, "glimmo-modplay: the song had not ended after %.0f minutes; stopped there\n",
                     LongestRender / 60);
    mixer.Close();
    if (offline) {
        if (!FinishVirtualAudioOut()) {
            std::fprintf(stderr, "glimmo-modplay: cannot write %s\n", options.out.c_str());
            return 1;
        }
        std::printf("  wrote %s (%.1f s)\n", options.out.c_str(), double(GetTickCount() - start) / 1000.0);
    }
    return interrupted ? 130 : 0;
}

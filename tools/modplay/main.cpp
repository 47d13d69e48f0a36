// glimmo-modplay: plays a four-channel tracker module with the game's own mixer, on the
// audio device until the song ends or Ctrl-C, or offline into a WAV file.
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/clock.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/input_file.h"
#include "platform/sdl/sdl_waveout.h"
#include "sound/module.h"
#include "sound/module_file.h"
#include "sound/module_image.h"
#include "sound/sound_system.h"
#include "tools/modplay/clock_backend.h"
#include "tools/modplay/modplay_options.h"
#include "tools/modplay/song_info.h"

namespace {

// The signal (Ctrl-C, a kill, a closed terminal) that ended the song early, else 0.
std::atomic<int> interrupted{0};

// A song that never ends by itself (one that jumps back) is cut here when rendering
// without --seconds.
constexpr double LongestRender = 60 * 60;

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

// The module's bytes, from its file or from standard input ("-"), never more than the
// largest module can hold, and only from a plain file (a pipe would be waited on); ""
// on success, else the line to print.
std::string ReadModule(const std::string& name, std::string& bytes) {
    const bool input = name == "-";
    std::string why = input ? ReadInputDescriptor(0, ModuleLargestImage, bytes)
                            : ReadInputFile(name, ModuleLargestImage, true, bytes);
    const std::string shown = input ? "standard input" : name;
    if (why.rfind("a ", 0) == 0)
        return shown + " is " + why + ", not a module file" +
               (why == "a pipe" ? " (give - to read standard input)" : "");
    if (why.rfind("longer than", 0) == 0) return shown + " is " + why + ", more than any module can hold";
    if (!why.empty()) return "cannot read " + shown + ": " + why;
    if (bytes.empty()) return shown + " is empty";
    return "";
}

// Opens the mixer on the audio device. The audio layer reports a missing device in the
// game's own name ("glimmo: ... playing silent"), which is wrong here: what it and the
// system's sound library print meanwhile is held back, and only shown if the device opens.
bool OpenOnTheDevice(SoundSystem& mixer, const ModplayOptions& options) {
    std::fflush(stderr);
    const int held = memfd_create("glimmo-modplay-stderr", MFD_CLOEXEC);
    const int saved = held >= 0 ? dup(STDERR_FILENO) : -1;
    if (saved >= 0) dup2(held, STDERR_FILENO);
    const bool open = mixer.Open(options.rate, 1, 8, !options.mono);
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        close(saved);
        char text[4096];
        ssize_t got;
        lseek(held, 0, SEEK_SET);
        while (open && (got = read(held, text, sizeof text)) > 0) std::fwrite(text, 1, size_t(got), stderr);
    }
    if (held >= 0) close(held);
    return open;
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

    std::string bytes;
    if (std::string why = ReadModule(options.file, bytes); !why.empty()) {
        std::fprintf(stderr, "glimmo-modplay: %s\n", why.c_str());
        return 2;
    }
    const std::string name = options.file == "-" ? "standard input" : options.file;
    const auto* image = reinterpret_cast<const uint8_t*>(bytes.data());
    if (std::string why = WhyNotAModule(image, bytes.size()); !why.empty()) {
        std::fprintf(stderr, "glimmo-modplay: %s is not a module: %s\n", name.c_str(), why.c_str());
        return 2;
    }
    const bool offline = !options.out.empty();
    if (offline) {
        std::string why = WhyNotWritable(options.out);
        if (why.empty() && options.file != "-" && SameFile(options.file, options.out))
            why = "that is the module itself (--out names the WAV file to write)";
        if (why.empty() && !SetVirtualAudioOut(options.out)) why = std::strerror(errno);
        if (!why.empty()) {
            std::fprintf(stderr, "glimmo-modplay: cannot write %s: %s\n", options.out.c_str(), why.c_str());
            return 2;
        }
    }
    Module module;
    module.LoadFromMemory(image, bytes.size());
    std::string().swap(bytes);
    module.SetLoop(options.loop);
    module.SetVolume(options.volume);
    module.SetPan(options.separation);
    const uint32_t songLength = ImageSongLength(module.data, module.size);
    std::printf("%s\n  \"%s\", song length %u (%u patterns), %u Hz %s%s\n", name.c_str(),
                SongTitle(module.data, module.size).c_str(), songLength, ImagePatternCount(module.data, module.size),
                options.rate, options.mono ? "mono" : "stereo", options.loop ? ", looping" : "");
    std::fflush(stdout);

    if (offline) {
        UseHeadlessBackend();
        UseVirtualWaveOut();
    } else {
        UseClockBackend();
        UseSdlWaveOut();
    }
    SoundSystem mixer;
    if (offline ? !mixer.Open(options.rate, 1, 8, !options.mono) : !OpenOnTheDevice(mixer, options)) {
        std::fprintf(stderr, "glimmo-modplay: no audio device to play on (try --out FILE.wav)\n");
        return 1;
    }
    uint32_t voice = mixer.PlayModule(module);
    if (voice == NoVoice) {
        mixer.Close();
        FinishVirtualAudioOut();
        std::fprintf(stderr, "glimmo-modplay: the mixer would not start the module\n");
        return 1;
    }

    // Stopped early, the song still leaves a whole WAV file behind.
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, [](int caught) { interrupted = caught; });
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
        if (!where.playing || interrupted || (limit > 0 && seconds >= limit) || VirtualAudioOutError()) break;
    }
    // The last blocks the mixer made are still queued: let them play out (five blocks).
    if (!where.playing) Sleep(150);
    if (showProgress) std::fputc('\n', stderr);
    if (offline && options.seconds == 0 && where.playing && !interrupted && !VirtualAudioOutError())
        std::fprintf(stderr, "glimmo-modplay: the song had not ended after %.0f minutes; stopped there\n",
                     LongestRender / 60);
    mixer.Close();
    if (offline) {
        if (!FinishVirtualAudioOut()) {
            std::fprintf(stderr, "glimmo-modplay: could not write %s: %s\n", options.out.c_str(), std::strerror(errno));
            return 1;
        }
        if (double at = VirtualAudioOutCutAt(); at > 0)
            std::fprintf(stderr, "glimmo-modplay: %s stops at %.0f s, the most a WAV file can hold (4 GiB)\n",
                         options.out.c_str(), at);
        std::printf("  wrote %s (%.1f s)\n", options.out.c_str(), double(GetTickCount() - start) / 1000.0);
    }
    return interrupted ? 128 + interrupted : 0;
}

// The SDL backend's start and end, its clock, the single-instance check, and the end of
// a desktop session: the terminal closed (SIGHUP) or the display gone. The tick count starts
// at the machine's monotonic milliseconds since boot, cut to 32 bits, so it wraps as the
// phone's did; it then moves only when the game sleeps or waits.
#include <signal.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/sdl/display_check.h"
#include "platform/sdl/display_wait.h"
#include "platform/sdl/sdl_game_backend.h"

namespace {
constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER;
// How far the real clock may run ahead of the game's before the game's jumps to it. A frame
// or a present that overran its sleep by less is made up by the sleeps that follow. A wait
// stretched to the display's refresh is no overrun: lateness counts from its end.
constexpr uint64_t kLateLimitUs = 25000;

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

volatile sig_atomic_t hungUp = 0;
void OnHangUp(int) { hungUp = 1; }

// SDL turns SIGTERM and SIGINT into a quit request; closing the terminal (SIGHUP) is asked
// the same way. A SIGHUP ignored on purpose (nohup) stays ignored.
void ListenForHangUp() {
    struct sigaction old {};
    if (sigaction(SIGHUP, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) return;
    struct sigaction action {};
    action.sa_handler = OnHangUp;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &action, nullptr);
}

// The X server gone: the X library would print its own lines and exit on the spot. Instead
// the game keeps what a quit would keep, says so in one line, and ends.
int OnDisplayLost(void*) {
    const std::string kept = RunDisplayLostHandler();
    std::fprintf(stderr, "glimmo: the connection to the display was lost%s%s\n", kept.empty() ? "" : "; ",
                 kept.c_str());
    std::_Exit(1);
}

// SDL loads the X library itself; its handler for a lost connection is set through it.
void WatchTheDisplayConnection(const std::string& driver) {
    if (driver != "x11") return;
    using Handler = int (*)(void*);
    using SetHandler = Handler (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(FindInSdlsX11("XSetIOErrorHandler"))) set(OnDisplayLost);
}
}  // namespace

std::unique_ptr<Backend> MakeSdlBackend(const SdlOptions& options, std::string* error) {
    // Alt-tabbing away from full screen pauses the game; the window stays where it was.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = OneLine(std::string("no display to open: ") + SDL_GetError());
        return nullptr;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    if (!DriverShowsAWindow(driver ? driver : "", requested ? requested : "")) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (error) *error = "no display to open: no X server or Wayland compositor to show the window on";
        return nullptr;
    }
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "glimmo: gamepads unavailable: %s\n", OneLine(SDL_GetError()).c_str());
    WatchTheDisplayConnection(driver ? driver : "");
    ListenForHangUp();
    return std::make_unique<SdlGameBackend>(options);
}

SdlGameBackend::SdlGameBackend(const SdlOptions& options)
    : options_(options),
      gameThread_(std::this_thread::get_id()),
      frame_(size_t(PortraitDisplay.cyHeight) * size_t(PortraitDisplay.cbyPitch)),
      shown_(frame_.size()),
      onScreen_(frame_.size()),
      holds_([](int vk, bool down) { KeyEvent(vk, down); }) {
    uint64_t now = NowUs();
    tick_ = uint32_t(now / 1000);
    tickUs_ = now / 1000 * 1000;
    SDL_StopTextInput();
}

SdlGameBackend::~SdlGameBackend() {
    DestroyGameWindow();
    for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad.controller);
    pads_.clear();
    // Only what this backend started: the audio device keeps its own subsystem.
    SDL_QuitSubSystem(kSubsystems);
}

uint64_t SdlGameBackend::NowUs() {
    using namespace std::chrono;
    return uint64_t(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t SdlGameBackend::Ticks() { return tick_; }

void SdlGameBackend::MoveClockTo(uint32_t tick) {
    tickUs_ = DueUs(tick);
    tick_ = tick;
}

void SdlGameBackend::CatchUp() {
    uint64_t now = NowUs();
    if (now <= std::max(tickUs_, stretchedToUs_) + kLateLimitUs) return;
    MoveClockTo(tick_ + uint32_t((now - tickUs_) / 1000));
    catchingUp_ = false;
}

// The game's clock moves by exactly `ms`, and the sleep lasts until that tick is due: the
// time the frame took is taken out of it, so in-game frames keep their 11 ms apart.
// A short sleep after which the game has nothing to do but wait for its timer (the title's
// and the pause's passes) is put off into that wait: a pass then waits once, not twice.
void SdlGameBackend::Sleep(uint32_t ms) {
    using namespace std::chrono;
    if (!OnGameThread()) {
        std::this_thread::sleep_for(milliseconds(ms));
        return;
    }
    uint32_t target = tick_ + ms;
    if (ms <= kPutOffAtMostMs && !MessageWaiting(target)) {
        MoveClockTo(target);
        return;
    }
    catchingUp_ = false;
    WaitForRealTime(DueUs(target));
    if (ms == 0) std::this_thread::yield();
    MoveClockTo(target);
    CatchUp();
}

// Sleeps until the real clock reaches `end`; a frame held back for the display's refresh
// is shown meanwhile.
void SdlGameBackend::WaitForRealTime(uint64_t end) {
    using namespace std::chrono;
    while (pacer_.Pending() && pacer_.DueAt() < end) {
        uint64_t due = pacer_.DueAt();
        uint64_t now = NowUs();
        if (due > now) std::this_thread::sleep_for(microseconds(due - now));
        PresentIfDue();
    }
    uint64_t now = NowUs();
    if (end > now) std::this_thread::sleep_for(microseconds(end - now));
}

void SdlGameBackend::PassOnHangUp() {
    if (!hungUp) return;
    hungUp = 0;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

bool SdlGameBackend::OtherInstanceRunning(const std::string& title) {
    const char* driver = SDL_GetCurrentVideoDriver();
    std::string display = DisplayIdentity(driver ? driver : "", SDL_getenv("DISPLAY"), SDL_getenv("WAYLAND_DISPLAY"));
    switch (instance_.ClaimOrSignal(InstanceName(title, display))) {
        case SingleInstance::Claim::OtherRunning:
            std::fprintf(stderr, "glimmo: already running; brought the running game to the front\n");
            return true;
        case SingleInstance::Claim::NotAnswering:
            std::fprintf(stderr, "glimmo: another copy is running but does not answer; starting this one\n");
            return false;
        case SingleInstance::Claim::Unavailable:
            std::fprintf(stderr, "glimmo: not checking for another copy: %s\n", instance_.Problem().c_str());
            return false;
        case SingleInstance::Claim::Holder: return false;
    }
    return false;
}

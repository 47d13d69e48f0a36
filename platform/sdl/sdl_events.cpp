// Turning SDL's events into the phone's: key changes (keyboard and gamepads), the
// close button as the back key, leaving the window (minimised, hidden, the keyboard
// elsewhere) as lost focus, raise requests.
#include <algorithm>
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/play_state.h"
#include "platform/sdl/key_map.h"
#include "platform/sdl/pad_map.h"
#include "platform/sdl/sdl_game_backend.h"
#include "platform/window.h"

namespace {
// The longest single wait, so raise requests are answered even when nothing else stirs.
constexpr int32_t kLongestWaitMs = 50;
constexpr uint64_t kRaiseLookEveryUs = 40000;
}  // namespace

void SdlGameBackend::PollEvents() {
    PassOnHangUp();
    // Asking the window system for news costs system calls: right after a wait, which
    // has just asked it, or within a pump interval of the last time, only the events
    // already queued are taken.
    const uint64_t now = NowUs();
    if (justWaited_) {
        lastPumpUs_ = now;
    } else if (TimeToPump(now)) {
        SDL_PumpEvents();
        lastPumpUs_ = now;
    }
    justWaited_ = false;
    TakeQueuedEvents();
    ServeRaiseRequests();
    ShowTitle();
    PresentIfDue();
    // A message is never handed to the game before the time its clock shows: a sleep put
    // off into the wait for the timer is waited for here when a message came first.
    if (OnGameThread() && tickUs_ > now && MessageWaiting(tick_)) {
        uint64_t came = 0;
        if (WaitForEventsUntil(tickUs_, tickUs_, &came)) CatchUp();
    }
}

// Waits until the tick `until` is due, or until an event brings the game a message; the
// game's clock then shows the millisecond it came in. Events that bring nothing (the mouse,
// the window's own business) do not end the wait.
//
// The window shows a picture only at the display's refresh, so a wait for the timer that
// would end before the next refresh turn is stretched to that turn: the passes due by then
// run one after another, each at its own tick, and the newest picture is shown after the
// last of them. The title and the pause, a pass every two milliseconds, then wake the
// process once per refresh instead of once per pass. Events are taken only once the
// passes have caught up, at the tick they came in; one coming during the stretch ends it.
// However long the refresh interval, the stretch is not lateness: the game's clock jumps
// only when the process wakes more than the allowance after the refresh it waited for.
void SdlGameBackend::WaitEvents(uint32_t until) {
    if (int32_t(until - tick_) <= 0) return;
    const uint64_t end = DueUs(until);
    const uint64_t now = NowUs();
    if (now >= end) {  // catching up: the pass is due already
        MoveClockTo(until);
        CatchUp();
        return;
    }
    catchingUp_ = false;
    PresentIfDue();
    const bool stretch = displayWait_.Attached() && pads_.empty() && pacer_.HasTurns();
    const uint64_t wake = stretch ? std::max(end, pacer_.NextTurnAfter(now)) : end;
    uint64_t came = 0;
    if (WaitForEventsUntil(end, wake, &came)) {
        // The passes due by the refresh run late on purpose; only waking after it is late.
        if (wake > end) stretchedToUs_ = std::min(NowUs(), wake);
        MoveClockTo(until);
        catchingUp_ = NowUs() > end + 1000;
        CatchUp();
        return;
    }
    uint32_t ms = came > tickUs_ ? uint32_t(std::min<uint64_t>((came - tickUs_) / 1000, until - tick_)) : 0;
    MoveClockTo(tick_ + ms);
}

bool SdlGameBackend::WaitForEventsUntil(uint64_t end, uint64_t wake, uint64_t* came) {
    const uint64_t posted = PostedCount();
    for (;;) {
        PassOnHangUp();
        TakeQueuedEvents();
        if (PostedCount() != posted) {
            *came = NowUs();
            return false;
        }
        uint64_t now = NowUs();
        if (now >= wake) return true;
        PresentIfDue();
        uint64_t waitUs = std::min<uint64_t>(wake - now, uint64_t(kLongestWaitMs) * 1000);
        if (pacer_.Pending()) {
            uint64_t due = pacer_.DueAt();
            waitUs = std::min<uint64_t>(waitUs, due > now ? due - now : 0);
        }
        if (displayWait_.Attached() && pads_.empty()) {
            // One system call: the X connection's socket, at the microsecond.
            const bool news = displayWait_.Wait(waitUs);
            const uint64_t after = NowUs();
            lastNewsLookUs_ = after;  // the wait has just looked
            if (news && after >= end && wake > end) {
                lastNewsLookUs_ = 0;  // looked at again as soon as the passes due have run
                return true;
            }
            if (news || after - lastPumpUs_ >= kQuietPumpEveryUs) {
                SDL_PumpEvents();
                lastPumpUs_ = after;
                justWaited_ = true;
            }
        } else {
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, int((waitUs + 999) / 1000))) Translate(event);
            justWaited_ = true;  // the wait asked the window system first
        }
        ServeRaiseRequests();
        ShowTitle();
    }
}

// Whether SDL should pump now. Pumping asks the X server, reads the gamepads and looks for
// new devices: a handful of system calls, so with the X connection at hand it is done only
// when the connection has news (looked at every few milliseconds) or after a long quiet.
bool SdlGameBackend::TimeToPump(uint64_t now) {
    if (catchingUp_) return false;  // events wait for the pass of their tick
    if (now - lastPumpUs_ >= kQuietPumpEveryUs) return true;
    if (now - lastNewsLookUs_ < kPumpEveryUs) return false;
    lastNewsLookUs_ = now;
    return !displayWait_.Attached() || !pads_.empty() || displayWait_.NewsWaiting();
}

void SdlGameBackend::TakeQueuedEvents() {
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) Translate(event);
}

void SdlGameBackend::Translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN: TranslateKey(event.key, true); break;
        case SDL_KEYUP: TranslateKey(event.key, false); break;
        case SDL_WINDOWEVENT: TranslateWindow(event.window); break;
        case SDL_QUIT:
            // The close button (or SIGTERM, SIGINT, SIGHUP) is the back key: save and quit.
            holds_.Press(kCloseButtonControl, VK_ESCAPE);
            holds_.Release(kCloseButtonControl);
            break;
        case SDL_CONTROLLERDEVICEADDED: OpenPad(event.cdevice.which); break;
        case SDL_CONTROLLERDEVICEREMOVED: ClosePad(event.cdevice.which); break;
        case SDL_CONTROLLERBUTTONDOWN: {
            const int button = event.cbutton.button;
            if (card_ && IsBackButton(button)) {
                ToggleHelp();
                break;
            }
            auto pad = pads_.find(event.cbutton.which);
            const int other = OtherShoulder(button);
            if (pad != pads_.end() && other >= 0 &&
                SDL_GameControllerGetButton(pad->second.controller, SDL_GameControllerButton(other)))
                ToggleMute();
            holds_.Press(PadControl(event.cbutton.which, button), ForTheMoment(VirtualKeyForPadButton(button)));
            break;
        }
        case SDL_CONTROLLERBUTTONUP: holds_.Release(PadControl(event.cbutton.which, event.cbutton.button)); break;
        case SDL_CONTROLLERAXISMOTION: MoveStick(event.caxis.which, event.caxis.axis, event.caxis.value); break;
        default: break;
    }
}

void SdlGameBackend::TranslateKey(const SDL_KeyboardEvent& key, bool down) {
    uint64_t control = uint64_t(key.keysym.scancode);
    if (!down) {
        holds_.Release(control);
        return;
    }
    if (key.repeat) return;  // a held key is one press
    KeyMapping mapping = bindings_.Map(key.keysym.sym, key.keysym.scancode, (key.keysym.mod & KMOD_ALT) != 0);
    // With the help card open, the back key closes it rather than leave the game.
    if (card_ && mapping.action == KeyAction::GameKey && mapping.control == Control::Back) {
        ToggleHelp();
        return;
    }
    switch (mapping.action) {
        case KeyAction::GameKey: holds_.Press(control, ForTheMoment(mapping.vk)); break;
        case KeyAction::ToggleFullScreen: ToggleFullScreen(); break;
        case KeyAction::Screenshot: SaveScreenshot(); break;
        case KeyAction::Help: ToggleHelp(); break;
        case KeyAction::Mute: ToggleMute(); break;
        case KeyAction::None: break;
    }
}

void SdlGameBackend::TranslateWindow(const SDL_WindowEvent& window) {
    if (!window_ || window.windowID != SDL_GetWindowID(window_)) return;
    switch (window.event) {
        case SDL_WINDOWEVENT_SHOWN:
            windowSeen_ = true;
            Repaint();
            break;
        // The player has left the window (minimised, on another workspace, the keyboard
        // given to something else): the game hears lost focus and pauses a game in play.
        // The phone's deactivation, which quits, would throw the game away.
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED: PostMessageW(GameWindow(), WM_KILLFOCUS, 0, 0); break;
        case SDL_WINDOWEVENT_HIDDEN:
            if (windowSeen_) PostMessageW(GameWindow(), WM_KILLFOCUS, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: PostMessageW(GameWindow(), WM_SETFOCUS, 0, 0); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            FitRendererToWindow();
            Repaint();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: Repaint(); break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_DISPLAY_CHANGED: FollowRefreshRate(); break;
        default: break;
    }
}

// Escape and a gamepad's Back button mean what the moment calls for (play_state.h); the
// close button stays the back key.
int SdlGameBackend::ForTheMoment(int vk) const { return vk == VK_ESCAPE ? EscapeKey(CurrentPlayState()) : vk; }

void SdlGameBackend::OpenPad(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (pads_.count(id)) {
        SDL_GameControllerClose(controller);  // already open: SDL counts the opens
        return;
    }
    pads_[id] = Pad{controller, {0, 0}};
    RewordHints();  // the hints name the pad's buttons too
}

void SdlGameBackend::ClosePad(SDL_JoystickID id) {
    auto it = pads_.find(id);
    if (it == pads_.end()) return;
    holds_.ReleaseRange(PadControl(id, 0), PadControl(id, 0xFFFFFFFFu));
    SDL_GameControllerClose(it->second.controller);
    pads_.erase(it);
    RewordHints();
}

void SdlGameBackend::MoveStick(SDL_JoystickID id, int axis, int value) {
    if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) return;
    auto it = pads_.find(id);
    if (it == pads_.end()) return;
    bool yAxis = axis == SDL_CONTROLLER_AXIS_LEFTY;
    int& current = it->second.stick[yAxis ? 1 : 0];
    int next = StickDirection(current, value);
    if (next == current) return;
    current = next;
    uint64_t control = PadControl(id, kStickPart + (yAxis ? 1 : 0));
    holds_.Release(control);
    holds_.Press(control, VirtualKeyForStick(yAxis, next));
}

void SdlGameBackend::ServeRaiseRequests() {
    // A request is a rare thing: looked for once in a while, not at every pass.
    const uint64_t now = NowUs();
    if (now - lastRaiseLookUs_ < kRaiseLookEveryUs) return;
    lastRaiseLookUs_ = now;
    if (!instance_.RaiseRequested() || !window_) return;
    SDL_ShowWindow(window_);
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

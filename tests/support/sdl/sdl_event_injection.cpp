// Pushing synthetic events into SDL's queue, a virtual gamepad through SDL's own
// virtual joysticks (which SDL maps as a standard controller), and reading back what
// the window's surface and title show.
#include "tests/support/sdl/sdl_event_injection.h"
#include <SDL.h>
#include <map>

namespace {
std::map<int, SDL_Joystick*> virtualPads;
int nextPad = 1;

bool PushKey(SDL_Keycode sym, SDL_Scancode scan, bool down, bool repeat, bool alt) {
    if (sym == SDLK_UNKNOWN) return false;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = scan;
    e.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
    return SDL_PushEvent(&e) == 1;
}

// The first window SDL knows: the game's, the only one it opens.
SDL_Window* FirstWindow() {
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 1024 && !window; ++id) window = SDL_GetWindowFromID(id);
    return window;
}
}  // namespace

bool InjectKey(const char* keyName, bool down, bool repeat, bool altHeld) {
    return PushKey(SDL_GetKeyFromName(keyName), SDL_GetScancodeFromName(keyName), down, repeat, altHeld);
}

bool InjectKeyAt(const char* keyName, const char* positionName, bool down) {
    return PushKey(SDL_GetKeyFromName(keyName), SDL_GetScancodeFromName(positionName), down, false, false);
}

bool InjectQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    return SDL_PushEvent(&e) == 1;
}

bool InjectWindowEvent(InjectedWindowEvent what) {
    SDL_Window* window = FirstWindow();
    if (!window) return false;
    static const std::map<InjectedWindowEvent, Uint8> kinds{
        {InjectedWindowEvent::Shown, SDL_WINDOWEVENT_SHOWN},
        {InjectedWindowEvent::Hidden, SDL_WINDOWEVENT_HIDDEN},
        {InjectedWindowEvent::Minimised, SDL_WINDOWEVENT_MINIMIZED},
        {InjectedWindowEvent::Restored, SDL_WINDOWEVENT_RESTORED},
        {InjectedWindowEvent::FocusLost, SDL_WINDOWEVENT_FOCUS_LOST},
        {InjectedWindowEvent::FocusGained, SDL_WINDOWEVENT_FOCUS_GAINED},
        {InjectedWindowEvent::Exposed, SDL_WINDOWEVENT_EXPOSED},
    };
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(window);
    e.window.event = kinds.at(what);
    return SDL_PushEvent(&e) == 1;
}

int PlugVirtualPad() {
    int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_MAX, 0);
    if (device < 0) return -1;
    SDL_Joystick* joystick = SDL_JoystickOpen(device);
    if (!joystick) {
        SDL_JoystickDetachVirtual(device);
        return -1;
    }
    virtualPads[nextPad] = joystick;
    return nextPad++;
}

void UnplugVirtualPad(int pad) {
    auto it = virtualPads.find(pad);
    if (it == virtualPads.end()) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(it->second);
    SDL_JoystickClose(it->second);
    virtualPads.erase(it);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
}

bool SetVirtualPadButton(int pad, const char* button, bool down) {
    auto it = virtualPads.find(pad);
    int index = SDL_GameControllerGetButtonFromString(button);
    if (it == virtualPads.end() || index < 0) return false;
    return SDL_JoystickSetVirtualButton(it->second, index, down ? SDL_PRESSED : SDL_RELEASED) == 0;
}

bool SetVirtualPadAxis(int pad, const char* axis, int16_t value) {
    auto it = virtualPads.find(pad);
    int index = SDL_GameControllerGetAxisFromString(axis);
    if (it == virtualPads.end() || index < 0) return false;
    return SDL_JoystickSetVirtualAxis(it->second, index, value) == 0;
}

bool ReadWindowSurface(WindowPixels* out) {
    SDL_Window* window = FirstWindow();
    if (!window) return false;
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface || surface->format->BytesPerPixel != 4) return false;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    out->width = surface->w;
    out->height = surface->h;
    out->rgb.assign(size_t(surface->w) * size_t(surface->h), 0);
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            Uint32 pixel;
            SDL_memcpy(&pixel, static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * 4, 4);
            Uint8 r, g, b;
            SDL_GetRGB(pixel, surface->format, &r, &g, &b);
            out->rgb[size_t(y) * size_t(surface->w) + size_t(x)] = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
        }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return true;
}

std::string ReadWindowTitle() {
    SDL_Window* window = FirstWindow();
    return window ? SDL_GetWindowTitle(window) : "";
}

// Synthetic SDL events: a keyboard, a window manager and a gamepad played by a test or
// a tool, so the backend's handling can be checked with nobody at the machine; and what
// the window shows, read back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A key by SDL's name of it ("Up", "Keypad 8", "Return"), as the layout and the board
// would report it; repeat is the desktop's auto-repeat.
bool InjectKey(const char* keyName, bool down, bool repeat = false, bool altHeld = false);
// A key whose layout name and board position differ (a top-row digit on another layout).
bool InjectKeyAt(const char* keyName, const char* positionName, bool down);
// The window's close button.
bool InjectQuit();

enum class InjectedWindowEvent { Shown, Hidden, Minimised, Restored, FocusLost, FocusGained, Exposed };
// To the first window SDL knows (the game's).
bool InjectWindowEvent(InjectedWindowEvent what);

// A virtual gamepad plugged in: an id for the calls below, or -1.
int PlugVirtualPad();
void UnplugVirtualPad(int pad);
// button: SDL's name ("a", "dpup", "start"); axis: "leftx", "lefty" ...
bool SetVirtualPadButton(int pad, const char* button, bool down);
bool SetVirtualPadAxis(int pad, const char* axis, int16_t value);

// The window's own surface as 0xRRGGBB values, row by row (where the game draws without
// a renderer). False when there is no window or its surface is not 32-bit.
struct WindowPixels {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;
    uint32_t At(int x, int y) const { return rgb[size_t(y) * size_t(width) + size_t(x)]; }
};
bool ReadWindowSurface(WindowPixels* out);
// The window's title as the window manager shows it (UTF-8); "" when there is no window.
std::string ReadWindowTitle();

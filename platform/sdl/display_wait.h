// Waiting for the window system in one system call. SDL's own wait for events asks the
// X server for news several times around each poll; at a pass every two milliseconds that
// is most of what a quiet window costs. On X11 the game waits on the connection's socket
// itself and has SDL pump events only when something came in; elsewhere (Wayland, no
// window yet) it is not attached and the caller uses SDL's wait.
#pragma once
#include <SDL.h>
#include <cstdint>

// A function of the X library that SDL has loaded, by name; null where SDL has not loaded it
// (another video driver) or it lacks the function. The game does not link the library.
void* FindInSdlsX11(const char* name);

class DisplayWait {
public:
    DisplayWait() = default;
    DisplayWait(const DisplayWait&) = delete;
    DisplayWait& operator=(const DisplayWait&) = delete;

    // Finds the window's X connection; false (and detached) anywhere else.
    bool Attach(SDL_Window* window);
    void Detach();
    bool Attached() const { return fd_ >= 0; }

    // True when the connection has something for SDL to pump: events already read into
    // the X library's queue, or bytes waiting on the socket (asked without waiting).
    bool NewsWaiting();
    // Sends what the X library holds back, then sleeps until the socket can be read, a
    // signal comes, or `us` microseconds have passed. True when the socket can be read
    // (or a signal cut the wait short): time to pump.
    bool Wait(uint64_t us);

private:
    int fd_ = -1;
    void* display_ = nullptr;
    int (*eventsQueued_)(void*, int) = nullptr;
    int (*flush_)(void*) = nullptr;
    unsigned long flushedBefore_ = 0;  // the X library's next request number after the last flush
};

// Waiting on the X connection's socket (display_wait.h), with the X library's calls looked
// up in the copy SDL has loaded.
#include "platform/sdl/display_wait.h"
#include <SDL_syswm.h>
#include <dlfcn.h>
#include <poll.h>
#include <ctime>

namespace {
constexpr int kQueuedAlready = 0;  // XEventsQueued: count what was read, read nothing
}  // namespace

void* FindInSdlsX11(const char* name) {
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!x11) return nullptr;
    void* function = dlsym(x11, name);
    dlclose(x11);  // still loaded: SDL holds it
    return function;
}

bool DisplayWait::Attach(SDL_Window* window) {
    Detach();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    auto connection = reinterpret_cast<int (*)(void*)>(FindInSdlsX11("XConnectionNumber"));
    eventsQueued_ = reinterpret_cast<int (*)(void*, int)>(FindInSdlsX11("XEventsQueued"));
    flush_ = reinterpret_cast<int (*)(void*)>(FindInSdlsX11("XFlush"));
    if (!connection || !eventsQueued_ || !flush_) return false;
    display_ = info.info.x11.display;
    fd_ = connection(display_);
    return fd_ >= 0;
}

void DisplayWait::Detach() {
    fd_ = -1;
    display_ = nullptr;
}

bool DisplayWait::NewsWaiting() {
    if (!Attached()) return true;
    if (eventsQueued_(display_, kQueuedAlready) > 0) return true;
    pollfd socket{fd_, POLLIN, 0};
    return poll(&socket, 1, 0) != 0;  // readable, hung up, or failed: let SDL see to it
}

bool DisplayWait::Wait(uint64_t us) {
    if (!Attached()) return true;
    // Flushing also reads the socket: it is done only when requests were made since the
    // last flush here (after a present or a title change), not at every wait.
    auto* display = static_cast<Display*>(display_);
    if (NextRequest(display) != flushedBefore_) {
        flush_(display_);
        flushedBefore_ = NextRequest(display);
    }
    if (eventsQueued_(display_, kQueuedAlready) > 0) return true;
    pollfd socket{fd_, POLLIN, 0};
    timespec timeout{time_t(us / 1000000), long(us % 1000000) * 1000};
    // A signal, or a socket gone bad, is news too: SDL's pump sees to both.
    return ppoll(&socket, 1, &timeout, nullptr) != 0;
}

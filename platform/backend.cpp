// The backend in force, and the clock services that go straight to it.
#include "platform/backend.h"
#include <cstdio>
#include <cstdlib>
#include "platform/clock.h"

namespace {
Backend* current = nullptr;
LastWords displayLost = nullptr;
}  // namespace

void SetBackend(Backend* backend) { current = backend; }
bool HasBackend() { return current != nullptr; }

Backend& CurrentBackend() {
    if (!current) {
        std::fprintf(stderr, "glimmo: no platform backend in force\n");
        std::abort();
    }
    return *current;
}

void SetDisplayLostHandler(LastWords handler) { displayLost = handler; }
std::string RunDisplayLostHandler() { return displayLost ? displayLost() : ""; }

uint32_t GetTickCount() { return CurrentBackend().Ticks(); }
void Sleep(uint32_t ms) { CurrentBackend().Sleep(ms); }

// A whole game world for tests: headless backend at a known tick, the global objects
// constructed, the display opened with the real art, optionally the sound system open
// on the virtual device. Tests then call game operations directly.
#pragma once
#include <cstdint>

class HeadlessBackend;

struct TestWorldOptions {
    uint32_t startTick = 1000000;
    bool openDisplay = true;
    bool openSound = false;
};

// Builds the world (tearing down any earlier one) and returns the backend in force.
HeadlessBackend& StartTestWorld(const TestWorldOptions& options = {});
void StopTestWorld();

// Optional observers of the message loop, used by the headless harness (state log,
// screenshots, run length) and the autopilot. A plain run has none.
#pragma once
#include <cstdint>
#include <functional>
#include "platform/win_types.h"

enum class FrameKind { Title, Game, Pause };

struct LoopHooks {
    std::function<void()> beforeMessage;
    // After each pass's frame; returning false ends the loop.
    std::function<bool(const MSG& dispatched, uint32_t frameTick, FrameKind kind)> afterFrame;
};

LoopHooks& CurrentLoopHooks();

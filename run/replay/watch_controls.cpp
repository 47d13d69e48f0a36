// The viewer's keys and the pace they set.
#include "run/replay/watch_controls.h"
#include <algorithm>
#include "platform/win_types.h"

namespace {
constexpr int SlowestHalves = 1;   // ½ x
constexpr int FastestHalves = 32;  // 16 x
}  // namespace

void WatchControls::Key(int vk, uint32_t now) {
    switch (vk) {
        case VK_ESCAPE: stop_ = true; break;
        case VK_F10: paused_ = !paused_; break;
        case VK_RETURN: step_ = paused_; break;
        case VK_F6:
        case VK_UP: SetSpeedHalves(speedHalves_ * 2); break;
        case VK_F7:
        case VK_DOWN: SetSpeedHalves(speedHalves_ / 2); break;
        case VK_RIGHT:
            // From where a jump already in hand would end.
            jumpTo_ = (jumping_ && int32_t(jumpTo_ - now) > 0 ? jumpTo_ : now) + WatchJumpMs;
            jumping_ = true;
            break;
        case VK_LEFT: restart_ = true; break;
        default: break;
    }
}

uint32_t WatchControls::WindowMs(uint32_t gameMs, uint32_t now) {
    if (jumping_ && int32_t(jumpTo_ - now) > 0) return 0;
    jumping_ = false;
    const uint64_t owed = owed_ + uint64_t(gameMs) * 2;
    owed_ = uint32_t(owed % uint64_t(speedHalves_));
    return uint32_t(owed / uint64_t(speedHalves_));
}

bool WatchControls::TakeStep() {
    const bool step = step_;
    step_ = false;
    return step;
}

void WatchControls::SetSpeedHalves(int halves) {
    speedHalves_ = std::clamp(halves, SlowestHalves, FastestHalves);
    owed_ = 0;
}

ReplayStatus WatchControls::Status(uint32_t playedMs, uint32_t totalMs) const {
    ReplayStatus s;
    s.watching = true;
    s.playedMs = playedMs;
    s.totalMs = totalMs;
    s.speed = float(speedHalves_) / 2;
    s.paused = paused_;
    s.jumping = jumping_;
    return s;
}

// A backend that is only a clock: milliseconds of the monotonic clock, real sleeps.
#include "tools/modplay/clock_backend.h"

#include <chrono>
#include <memory>
#include <thread>

namespace {

class ClockBackend : public Backend {
public:
    uint32_t Ticks() override {
        auto since = std::chrono::steady_clock::now().time_since_epoch();
        return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    void WaitEvents(uint32_t until) override {
        uint32_t now = Ticks();
        if (int32_t(until - now) > 0) Sleep(until - now);
    }
    void PollEvents() override {}
    bool CreateGameWindow(const std::string&) override { return false; }
    void ShowGameWindow() override {}
    void DestroyGameWindow() override {}
    bool OtherInstanceRunning(const std::string&) override { return false; }
    GXDisplayProperties DisplayProperties() override { return PortraitDisplay; }
    bool OpenDisplay() override { return false; }
    void* BeginDraw() override { return nullptr; }
    void EndDraw() override {}
    void CloseDisplay() override {}
    const void* LastFrame() override { return nullptr; }
};

}  // namespace

void UseClockBackend() {
    static std::unique_ptr<ClockBackend> backend = std::make_unique<ClockBackend>();
    SetBackend(backend.get());
}

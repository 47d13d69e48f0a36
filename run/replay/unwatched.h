// What a replay is played to when nobody watches or listens (the check of a replay): a
// backend that shows nothing and a sound device that plays nothing. The game cannot tell
// them from a screen and a loudspeaker: it draws and plays as it always does, and what it
// draws and plays goes nowhere.
#pragma once
#include <string>
#include "platform/backend.h"
#include "platform/waveout.h"

// A clock that moves only as it is told, no window, and no frame memory to draw in.
class UnseenBackend : public Backend {
public:
    uint32_t Ticks() override { return now_; }
    void Sleep(uint32_t ms) override { now_ += ms; }
    void WaitEvents(uint32_t until) override {
        if (int32_t(until - now_) > 0) now_ = until;
    }
    void PollEvents() override {}
    bool CreateGameWindow(const std::string&) override { return true; }
    void ShowGameWindow() override {}
    void DestroyGameWindow() override {}
    bool OtherInstanceRunning(const std::string&) override { return false; }
    GXDisplayProperties DisplayProperties() override { return PortraitDisplay; }
    bool OpenDisplay() override { return true; }
    void* BeginDraw() override { return nullptr; }
    void EndDraw() override {}
    void CloseDisplay() override {}
    const void* LastFrame() override { return nullptr; }

private:
    uint32_t now_ = 0;
};

// A sound device that takes the blocks written to it and never plays one, so none comes
// back to be mixed again.
class UnheardWaveOut : public WaveOutBackend {
public:
    UINT DeviceCount() override { return 1; }
    bool OpenDevice(WaveOutDevice*, const WAVEFORMATEX&) override { return true; }
    void CloseDevice(WaveOutDevice*) override {}
    void SetPaused(WaveOutDevice*, bool) override {}
    void BlockQueued(WaveOutDevice*) override {}
    // The blocks still queued are given back by the layer itself.
    void ResetDevice(WaveOutDevice*) override {}
    bool SetCurrentThreadPriority(int) override { return false; }
};

// The headless backend: a virtual clock that moves only when the game sleeps or waits,
// scripted key and window events, frame memory in RAM. Same input, same run, every time.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>
#include "platform/scripted_backend.h"

class HeadlessBackend : public ScriptedBackend {
public:
    explicit HeadlessBackend(uint32_t startTick = 1000000, GXDisplayProperties props = PortraitDisplay);

    uint32_t Ticks() override { return now_; }
    void Sleep(uint32_t ms) override;
    void WaitEvents(uint32_t until) override;
    void PollEvents() override;
    bool CreateGameWindow(const std::string& title) override;
    void ShowGameWindow() override {}
    void DestroyGameWindow() override {}
    bool OtherInstanceRunning(const std::string&) override { return false; }
    GXDisplayProperties DisplayProperties() override { return props_; }
    bool OpenDisplay() override;
    void* BeginDraw() override;
    void EndDraw() override;
    void CloseDisplay() override;
    const void* LastFrame() override;

    void AddEvents(std::vector<TimedEvent> events) override;
    // Not kept, BeginDraw gives no frame memory.
    void KeepFrames(bool keep) override { keepFrames_ = keep; }
    // Test controls.
    void SetTick(uint32_t tick);  // jumps without notifying listeners
    void Advance(uint32_t ms);    // moves time as a sleep would
    // Frame memory size in bytes for the display properties.
    size_t FrameBytes() const;

private:
    void MoveTo(uint32_t tick);
    void Deliver();
    uint32_t now_;
    GXDisplayProperties props_;
    std::vector<TimedEvent> events_;
    size_t nextEvent_ = 0;
    std::vector<uint8_t> frame_;
    std::vector<uint8_t> shown_;
    int32_t originOffset_ = 0;
    bool open_ = false;
    bool presented_ = false;
    bool keepFrames_ = true;
    bool drawing_ = false;  // BeginDraw handed out frame memory
};

// Makes a headless backend and puts it in force (replacing any earlier one).
HeadlessBackend& UseHeadlessBackend(uint32_t startTick = 1000000, GXDisplayProperties props = PortraitDisplay);

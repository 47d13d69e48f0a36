// The headless backend: a virtual clock that moves only when the game sleeps or waits,
// scripted key and window events, frame memory in RAM. Same input, same run, every time.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>
#include "platform/backend.h"

struct ScriptEvent {
    uint32_t tick;  // absolute virtual tick at which it takes effect
    enum Kind { KeyDown, KeyUp, Deactivate, Close, Set } kind;
    int vk = 0;         // KeyDown / KeyUp
    std::string name;   // Set: the global's name
    int64_t value = 0;  // Set: its value
    int line = 0;       // script line it came from
};

class HeadlessBackend : public Backend {
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

    // Test and harness controls.
    void AddEvents(std::vector<ScriptEvent> events);  // merged in tick order
    void SetTick(uint32_t tick);                      // jumps without notifying listeners
    void Advance(uint32_t ms);                        // moves time as a sleep would
    // Whether the next presents are kept for LastFrame (the default). A harness that
    // looks at only some frames turns it off between them: a present nobody will look
    // at is then not copied at all (BeginDraw gives no frame memory).
    void KeepFrames(bool keep) { keepFrames_ = keep; }
    // Called for `set` events, on the game thread, between passes.
    std::function<void(const ScriptEvent&)> onSet;
    // Frame memory size in bytes for the display properties.
    size_t FrameBytes() const;

private:
    void MoveTo(uint32_t tick);
    void Deliver();
    uint32_t now_;
    GXDisplayProperties props_;
    std::vector<ScriptEvent> events_;
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

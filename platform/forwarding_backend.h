// A backend that stands in front of another and passes every call on to it: the base of
// those that change a few calls only (recording a game, playing one back).
#pragma once
#include "platform/backend.h"

class ForwardingBackend : public Backend {
public:
    explicit ForwardingBackend(Backend& inner) : inner_(inner) {}

    uint32_t Ticks() override { return inner_.Ticks(); }
    void Sleep(uint32_t ms) override { inner_.Sleep(ms); }
    void WaitEvents(uint32_t until) override { inner_.WaitEvents(until); }
    void PollEvents() override { inner_.PollEvents(); }
    bool CreateGameWindow(const std::string& title) override { return inner_.CreateGameWindow(title); }
    void ShowGameWindow() override { inner_.ShowGameWindow(); }
    void DestroyGameWindow() override { inner_.DestroyGameWindow(); }
    void SetGameWindowTitle(const std::string& title) override { inner_.SetGameWindowTitle(title); }
    void SetHints(const HintSituation& situation) override { inner_.SetHints(situation); }
    bool OtherInstanceRunning(const std::string& title) override { return inner_.OtherInstanceRunning(title); }
    GXDisplayProperties DisplayProperties() override { return inner_.DisplayProperties(); }
    bool OpenDisplay() override { return inner_.OpenDisplay(); }
    void* BeginDraw() override { return inner_.BeginDraw(); }
    void EndDraw() override { inner_.EndDraw(); }
    void CloseDisplay() override { inner_.CloseDisplay(); }
    const void* LastFrame() override { return inner_.LastFrame(); }

protected:
    Backend& inner_;
};

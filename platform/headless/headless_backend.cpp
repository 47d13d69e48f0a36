// Virtual time for the headless harness: the clock moves only when the game sleeps or
// waits for a message, script events take effect exactly at their ticks, and frames
// are presented into memory.
#include "platform/headless/headless_backend.h"
#include <algorithm>
#include "platform/headless/time_listeners.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/window.h"

namespace {
std::unique_ptr<HeadlessBackend> instance;
bool Reached(uint32_t now, uint32_t tick) { return int32_t(now - tick) >= 0; }

// Lowest and highest pixel offsets of a frame laid out by props.
void Extent(const GXDisplayProperties& p, int64_t& lo, int64_t& hi) {
    int64_t ex = int64_t(p.cxWidth ? p.cxWidth - 1 : 0) * (p.cbxPitch >> 1);
    int64_t ey = int64_t(p.cyHeight ? p.cyHeight - 1 : 0) * (p.cbyPitch >> 1);
    lo = std::min<int64_t>(ex, 0) + std::min<int64_t>(ey, 0);
    hi = std::max<int64_t>(ex, 0) + std::max<int64_t>(ey, 0);
}
}  // namespace

HeadlessBackend::HeadlessBackend(uint32_t startTick, GXDisplayProperties props) : now_(startTick), props_(props) {}

void HeadlessBackend::MoveTo(uint32_t tick) {
    uint32_t from = now_;
    now_ = tick;
    NotifyTimeAdvanced(from, tick);
}

void HeadlessBackend::Deliver() {
    while (nextEvent_ < events_.size() && Reached(now_, events_[nextEvent_].tick)) {
        const TimedEvent& e = events_[nextEvent_++];
        switch (e.kind) {
            case TimedEvent::KeyDown: KeyEvent(e.vk, true); break;
            case TimedEvent::KeyUp: KeyEvent(e.vk, false); break;
            case TimedEvent::Deactivate: PostMessageW(GameWindow(), WM_ACTIVATE, WA_INACTIVE, 0); break;
            case TimedEvent::Close:
                KeyEvent(VK_ESCAPE, true);
                KeyEvent(VK_ESCAPE, false);
                break;
            case TimedEvent::Call:
                if (e.call) e.call();
                break;
        }
    }
}

void HeadlessBackend::Sleep(uint32_t ms) {
    uint32_t target = now_ + ms;
    // Events that fall inside the sleep take effect at their own ticks.
    while (nextEvent_ < events_.size() && Reached(target, events_[nextEvent_].tick)) {
        uint32_t t = events_[nextEvent_].tick;
        if (!Reached(now_, t)) MoveTo(t);
        Deliver();
    }
    if (target != now_) MoveTo(target);
}

void HeadlessBackend::WaitEvents(uint32_t until) {
    uint32_t target = until;
    if (nextEvent_ < events_.size() && !Reached(events_[nextEvent_].tick, target)) target = events_[nextEvent_].tick;
    if (!Reached(now_, target)) MoveTo(target);
    Deliver();
}

void HeadlessBackend::PollEvents() { Deliver(); }

bool HeadlessBackend::CreateGameWindow(const std::string&) { return true; }

size_t HeadlessBackend::FrameBytes() const {
    int64_t lo, hi;
    Extent(props_, lo, hi);
    return size_t(hi - lo + 1) * 2;
}

bool HeadlessBackend::OpenDisplay() {
    int64_t lo, hi;
    Extent(props_, lo, hi);
    frame_.assign(size_t(hi - lo + 1) * 2, 0);
    shown_.clear();
    originOffset_ = int32_t(-lo * 2);
    open_ = true;
    presented_ = false;
    return true;
}

void* HeadlessBackend::BeginDraw() {
    drawing_ = open_ && keepFrames_;
    return drawing_ ? frame_.data() + originOffset_ : nullptr;
}

// Every present writes the whole frame memory, so the two buffers trade places instead
// of the frame being copied: the one drawn is the one shown, the other is drawn next.
void HeadlessBackend::EndDraw() {
    if (!open_ || !drawing_) return;
    drawing_ = false;
    if (shown_.size() != frame_.size()) shown_.assign(frame_.size(), 0);
    frame_.swap(shown_);
    presented_ = true;
}

void HeadlessBackend::CloseDisplay() { open_ = false; }

const void* HeadlessBackend::LastFrame() { return presented_ ? shown_.data() + originOffset_ : nullptr; }

void HeadlessBackend::AddEvents(std::vector<TimedEvent> events) {
    std::vector<TimedEvent> pending(events_.begin() + long(nextEvent_), events_.end());
    pending.insert(pending.end(), events.begin(), events.end());
    uint32_t base = now_;
    std::stable_sort(pending.begin(), pending.end(),
                     [base](const TimedEvent& a, const TimedEvent& b) { return a.tick - base < b.tick - base; });
    events_ = std::move(pending);
    nextEvent_ = 0;
}

void HeadlessBackend::SetTick(uint32_t tick) { now_ = tick; }
void HeadlessBackend::Advance(uint32_t ms) { Sleep(ms); }

HeadlessBackend& UseHeadlessBackend(uint32_t startTick, GXDisplayProperties props) {
    SetBackend(nullptr);
    instance = std::make_unique<HeadlessBackend>(startTick, props);
    SetBackend(instance.get());
    return *instance;
}

// Frames reach the screen at most once per display refresh. A frame that comes sooner
// is kept, not dropped: it is shown when its turn comes, unless a newer one replaces it.
#pragma once
#include <cstdint>

class FramePacer {
public:
    // The display's refresh rate; 0 or less (unknown) counts as 60 Hz.
    void SetRefreshRate(int hz);
    uint64_t IntervalUs() const { return intervalUs_; }

    // A new frame (or a repaint) waits to be shown.
    void Submit() { pending_ = true; }
    bool Pending() const { return pending_; }
    // When the waiting frame may be shown (microseconds on the caller's clock).
    uint64_t DueAt() const { return shownOnce_ ? lastUs_ + intervalUs_ : 0; }
    // True when a frame waits and its turn has come at nowUs.
    bool Due(uint64_t nowUs) const { return pending_ && nowUs >= DueAt(); }
    // Turns come one refresh apart from the last present, whether or not a frame takes
    // them: HasTurns is false before the first present; NextTurnAfter is the first turn
    // later than nowUs.
    bool HasTurns() const { return shownOnce_; }
    uint64_t NextTurnAfter(uint64_t nowUs) const;
    // The waiting frame was shown at nowUs.
    void Presented(uint64_t nowUs);
    // The waiting frame was the one already shown: nothing went to the screen.
    void Unchanged() { pending_ = false; }

private:
    uint64_t intervalUs_ = 1000000 / 60;
    uint64_t lastUs_ = 0;
    bool shownOnce_ = false;
    bool pending_ = false;
};

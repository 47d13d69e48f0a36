// Keeping presents one display refresh apart.
#include "platform/frame_pacer.h"

void FramePacer::SetRefreshRate(int hz) {
    if (hz <= 0) hz = 60;
    intervalUs_ = 1000000 / uint64_t(hz);
}

void FramePacer::Presented(uint64_t nowUs) {
    pending_ = false;
    shownOnce_ = true;
    lastUs_ = nowUs;
}

uint64_t FramePacer::NextTurnAfter(uint64_t nowUs) const {
    if (nowUs < lastUs_) return lastUs_ + intervalUs_;
    return lastUs_ + ((nowUs - lastUs_) / intervalUs_ + 1) * intervalUs_;
}

// Choosing the window's whole-number scale.
#include "platform/sdl/window_scale.h"
#include <algorithm>

int ChooseWindowScale(int usableWidth, int usableHeight, int requested) {
    if (requested > 0) return std::min(requested, kLargestScale);
    int byWidth = (usableWidth - kFrameRoomX) / kPhoneWidth;
    int byHeight = (usableHeight - kFrameRoomY) / kPhoneHeight;
    return std::clamp(std::min(byWidth, byHeight), 1, kLargestScale);
}

// Choosing the window's whole-number scale.
#include "platform/window_scale.h"
#include <algorithm>

int ChooseWindowScale(int usableWidth, int usableHeight, int requested) {
    int byWidth = (usableWidth - kFrameRoomX) / kPhoneWidth;
    int byHeight = (usableHeight - kFrameRoomY) / kPhoneHeight;
    int fits = std::clamp(std::min(byWidth, byHeight), 1, kLargestScale);
    if (requested <= 0) return fits;
    requested = std::min(requested, kLargestScale);
    // A desktop of unknown size (0 x 0) cannot say no.
    return usableWidth > 0 && usableHeight > 0 ? std::min(requested, fits) : requested;
}

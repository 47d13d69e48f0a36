// The small pictures: the all-black backdrop, the PAUSED banner, and the icon used for
// the window and the desktop (the player chasing a dot, on a Clear ground).
#include "tools/artgen/art_set.h"
#include "tools/artgen/figures.h"
#include "tools/artgen/font.h"

Canvas DrawBlackScreen() { return Canvas(176, 220, Black); }

Canvas DrawPausedBanner() {
    Canvas banner(176, 8, Red);
    DrawTextCentred(banner, 88, 1, "PAUSED", White);
    return banner;
}

Canvas DrawIcon() {
    Canvas icon(32, 32, Clear);
    icon.Paste(PlayerFigure(26, 0, MouthHalfOpen), 0, 3);
    icon.Paste(MapToCanvas({".XXXX.", "XXXXXX", "XXXXXX", "XXXXXX", "XXXXXX", ".XXXX."}, {{'X', Pink}}), 25, 13);
    return icon;
}

// The same picture drawn again where halving or scaling the 32-pixel one by 3/4 would
// blur it: a smaller player, and a dot that keeps to whole pixels on its middle row.
Canvas DrawSmallIcon(int size) {
    Canvas icon(size, size, Clear);
    if (size >= 24) {
        icon.Paste(PlayerFigure(20, 0, MouthHalfOpen), 0, 2);
        icon.Paste(MapToCanvas({".XX.", "XXXX", "XXXX", ".XX."}, {{'X', Pink}}), 19, 10);
    } else {
        icon.Paste(PlayerFigure(15, 0, MouthHalfOpen), 0, 1);
        icon.Paste(MapToCanvas({"XX", "XX"}, {{'X', Pink}}), 13, 7);
    }
    return icon;
}

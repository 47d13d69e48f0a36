// The player's disc with its wedge mouth, the ghost's dome-and-skirt body in two
// frames, the eyes looking four ways and the frightened face.
#include "tools/artgen/figures.h"

// clang-format off: the pictures keep their rows of pixels one above the other.

Canvas PlayerFigure(int size, double mouthDeg, double halfOpenDeg) {
    Canvas c(size, size, Clear);
    const double centre = size / 2.0;
    Disc(c, centre, centre, centre - 0.35, Yellow, mouthDeg, halfOpenDeg);
    return c;
}

Canvas GhostBody(int frame, uint8_t ink) {
    const InkKey key = {{'X', ink}};
    if (frame == 0)
        return MapToCanvas(
            {"....XXXX....", "..XXXXXXXX..", ".XXXXXXXXXX.", ".XXXXXXXXXX.", "XXXXXXXXXXXX", "XXXXXXXXXXXX",
             "XXXXXXXXXXXX", "XXXXXXXXXXXX", "XXXXXXXXXXXX", "XXXXXXXXXXXX", "XXX.XXXX.XXX", "XX...XX...XX"},
            key);
    return MapToCanvas({"....XXXX....", "..XXXXXXXX..", ".XXXXXXXXXX.", ".XXXXXXXXXX.", "XXXXXXXXXXXX", "XXXXXXXXXXXX",
                        "XXXXXXXXXXXX", "XXXXXXXXXXXX", "XXXXXXXXXXXX", "XXXXXXXXXXXX", "XXXXX..XXXXX", ".XXX....XXX."},
                       key);
}

Canvas GhostEyes(int look) {
    // One eye is a 4 x 5 white oval; the pair moves a pixel the way it looks and the
    // 2 x 2 pupils sit on that side.
    static const int shiftX[4] = {1, 0, -1, 0}, shiftY[4] = {0, -1, 0, 1};
    static const int pupilX[4] = {2, 1, 0, 1}, pupilY[4] = {2, 0, 2, 3};
    Canvas c(12, 12, Clear);
    const Canvas eye = MapToCanvas({".WW.", "WWWW", "WWWW", "WWWW", ".WW."}, {{'W', White}});
    for (int left : {1, 7}) {
        const int x = left + shiftX[look], y = 3 + shiftY[look];
        c.Paste(eye, x, y);
        c.Box(x + pupilX[look], y + pupilY[look], 2, 2, Blue);
    }
    return c;
}

Canvas FrightFace(uint8_t ink) {
    return MapToCanvas({"", "", "", "", "...XX..XX...", "...XX..XX...", "", "", "..X..XX..X..", ".X.XX..XX.X."},
                       {{'X', ink}});
}
// clang-format on

// The 96 x 96 sheet of the intermission figures: the giant player, the cloth torn on
// the nail stage by stage, the patched and the torn ghost, and the ghost without its
// cloth. Everything else is Clear.
#include <cmath>
#include "tools/artgen/art_set.h"
#include "tools/artgen/figures.h"

// clang-format off: the pictures keep their rows of pixels one above the other.

namespace {

// A cloth stage is drawn at the snag point with the ghost d pixels to its left: the
// cloth stretches from the ghost's right edge (column 11 - d) to a point just above the
// nail (column 11, rows 3 and 4 stay clear so the nail shows).
Canvas StretchedCloth(int d) {
    Canvas c(12, 5, Clear);
    const int edge = 11 - d;
    for (int x = std::max(edge, 0); x <= 10; ++x) {
        const double t = double(x - edge) / double(11 - edge);
        const int top = int(std::lround(1 + 1.0 * t));
        const int bottom = int(std::lround(4 - 2.0 * t));
        for (int y = top; y <= bottom; ++y) c.Set(x, y, Red);
    }
    c.Set(11, 2, Red);
    return c;
}

void DrawClothStages(Canvas& s) {
    const int pull[5] = {1, 2, 4, 6, 8};
    for (int i = 0; i < 5; ++i) s.Paste(StretchedCloth(pull[i]), 12 * i, 28);
    // Torn off: the scrap left on the nail, then hanging limp from it.
    s.Paste(MapToCanvas({"............", "........RRRR", ".......RRRR.", "........RR..", ".........R.."}, {{'R', Red}}),
            60, 28);
    s.Paste(MapToCanvas({"............", "..........RR", "..........R.", ".........RR.", "..........R."}, {{'R', Red}}),
            72, 28);
}

void DrawMendedGhosts(Canvas& s) {
    for (int f = 0; f < 2; ++f) {
        Canvas ghost = GhostBody(f, Red);
        ghost.Box(8, 7, 3, 3, Pink);
        s.Paste(ghost, 12 * f, 34);
    }
    // The lower right corner torn away along a ragged edge: the pink body shows, a
    // little smaller than the cloth was, so the outer column and row are gone.
    Canvas torn = GhostBody(0, Red);
    for (int y = 6; y < 12; ++y) {
        for (int x = 6; x < 12; ++x) {
            const int edge = x + y - 15 + ((x % 2 == 0) ? 1 : 0);
            if (edge < 0 || torn.At(x, y) == Clear) continue;
            torn.Set(x, y, (x == 11 || y == 11) ? Clear : Pink);
        }
    }
    s.Paste(torn, 24, 34);
}

void DrawBareGhost(Canvas& s) {
    const InkKey key = {{'R', Red}, {'P', Pink}, {'W', White}, {'b', Blue}};
    s.Paste(MapToCanvas({"...........PPPP..", ".........RPPPPPP.", "RR....RRRRPWWPWW.", "RRRRRRRRRPPWbPWbP",
                         ".RRRRRRRRPPPPPPPP", "..RR..RRRPPPPPPPP", "..........PPPPPP.", "..........PP..PP.",
                         ".........PP....PP"},
                        key),
            0, 47);
    s.Paste(MapToCanvas({"...........PPPP..", "....RR...RPPPPPP.", "..RRRRRRRRPWWPWW.", "RRRRRRRRRPPWbPWbP",
                         "RRR..RRRRPPPPPPPP", "R........PPPPPPPP", "..........PPPPPP.", "..........PP..PP.",
                         "..........PP..PP."},
                        key),
            17, 47);
}

}  // namespace

Canvas DrawSceneSheet() {
    Canvas s(96, 96, Clear);
    // The giant player facing right: shut, slightly open, open, wide open.
    const double opening[4] = {0, 16, 34, 54};
    for (int i = 0; i < 4; ++i) s.Paste(PlayerFigure(20, 0, opening[i]), 1 + 22 * i, 1);
    DrawClothStages(s);
    DrawMendedGhosts(s);
    DrawBareGhost(s);
    return s;
}
// clang-format on

// The 96 x 96 sprite sheet: every figure at the cell where the game looks for it
// (player, ghosts, eyes, dot, energiser, points, lettering, fruit); the rest is Clear.
#include "tools/artgen/art_set.h"
#include "tools/artgen/figures.h"
#include "tools/artgen/font.h"
#include "tools/artgen/fruits.h"

// clang-format off: the pictures keep their rows of pixels one above the other.

namespace {

// Mouth directions in degrees.
constexpr double Right = 0, Up = 90, Left = 180, Down = 270;

void DrawPlayerFrames(Canvas& s) {
    const double opening[3] = {MouthNearlyShut, MouthHalfOpen, MouthWideOpen};
    // Walking: nearly shut, half open, wide open per direction.
    const int right[3][2] = {{0, 0}, {12, 0}, {24, 0}};
    const int left[3][2] = {{60, 0}, {48, 0}, {36, 0}};
    const int down[3][2] = {{72, 0}, {84, 0}, {0, 12}};
    const int up[3][2] = {{12, 12}, {24, 12}, {36, 12}};
    for (int i = 0; i < 3; ++i) {
        s.Paste(PlayerFigure(12, Right, opening[i]), right[i][0], right[i][1]);
        s.Paste(PlayerFigure(12, Left, opening[i]), left[i][0], left[i][1]);
        s.Paste(PlayerFigure(12, Down, opening[i]), down[i][0], down[i][1]);
        s.Paste(PlayerFigure(12, Up, opening[i]), up[i][0], up[i][1]);
    }
    // Dying: the up-facing mouth goes on opening until only a sliver is left.
    const double dying[4] = {95, 125, 152, 172};
    for (int i = 0; i < 4; ++i) s.Paste(PlayerFigure(12, Up, dying[i]), 48 + 12 * i, 12);
    // The whole disc, and the burst that ends a death.
    s.Paste(PlayerFigure(12, Right, 0), 72, 36);
    s.Paste(
        MapToCanvas({".....WW.....", ".W...YY...W.", "..Y..YY..Y..", "...Y....Y...", "............", "WYY......YYW",
                     "WYY......YYW", "............", "...Y....Y...", "..Y..YY..Y..", ".W...YY...W.", ".....WW....."},
                    {{'W', White}, {'Y', Yellow}}),
        84, 36);
    // A spare life: the player facing left, mouth half open.
    s.Paste(PlayerFigure(12, Left, MouthHalfOpen), 72, 48);
}

void DrawGhostFrames(Canvas& s) {
    const uint8_t colours[4] = {Red, Cyan, Pink, Orange};
    for (int g = 0; g < 4; ++g)
        for (int f = 0; f < 2; ++f) s.Paste(GhostBody(f, colours[g]), 24 * g + 12 * f, 24);
    s.Paste(GhostBody(0, Blue), 0, 36);
    s.Paste(GhostBody(1, Blue), 12, 36);
    s.Paste(GhostBody(0, White), 24, 36);
    s.Paste(GhostBody(1, White), 36, 36);
    // Eyes looking down, left, up, right.
    const int looks[4] = {3, 2, 1, 0};
    for (int i = 0; i < 4; ++i) s.Paste(GhostEyes(looks[i]), 12 * i, 48);
    s.Paste(FrightFace(Gold), 48, 48);
    s.Paste(FrightFace(Red), 60, 48);
}

void DrawDotAndEnergiser(Canvas& s) {
    // The dot is exactly the 2 x 2 at (5, 5) of its cell: eating blacks out those pixels.
    s.Box(48 + 5, 36 + 5, 2, 2, Pink);
    s.Paste(MapToCanvas({".XXXX.", "XXXXXX", "XXXXXX", "XXXXXX", "XXXXXX", ".XXXX."}, {{'X', Pink}}), 60 + 3, 36 + 3);
}

void DrawLettering(Canvas& s) {
    DrawText(s, 0, 60, "HIGH SCORE", White);
    for (int d = 0; d < 10; ++d) DrawText(s, 6 * d, 66, std::string(1, char('0' + d)), White);
    DrawText(s, 60, 66, "1UP", White);
    // GAME OVER is drawn at x 56 and READY! at x 68: centre both on the maze's middle.
    DrawTextCentred(s, 88 - 56, 72, "GAME OVER", Red);
    DrawTextCentred(s, 88 - 68, 78, "READY!", Yellow);
    for (int d = 0; d < 10; ++d) DrawSmallDigits(s, 40 + 3 * d, 78, std::string(1, char('0' + d)), Pink);
    // Points of the eaten ghosts, and the door of their house.
    DrawSmallDigits(s, 85, 51, "200", Cyan);
    DrawSmallDigits(s, 85, 60, "400", Cyan);
    DrawSmallDigits(s, 85, 69, "800", Cyan);
    DrawSmallDigits(s, 83, 78, "1600", Cyan, true);
    s.Box(65, 60, 12, 2, Pink);
}

}  // namespace

Canvas DrawSpriteSheet() {
    Canvas s(96, 96, Clear);
    DrawPlayerFrames(s);
    DrawGhostFrames(s);
    DrawDotAndEnergiser(s);
    DrawLettering(s);
    for (int kind = 1; kind <= 8; ++kind) s.Paste(FruitFigure(kind), 12 * (kind - 1), 84);
    return s;
}
// clang-format on

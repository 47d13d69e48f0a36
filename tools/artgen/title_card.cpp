// The title card: the heading, the table of the four ghosts with their names and
// nicknames beside the places where the title screen draws them, the points of a dot
// and an energiser, the prompts, and the name and version along the bottom.
#include "tools/artgen/art_set.h"
#include "tools/artgen/figures.h"
#include "tools/artgen/font.h"

namespace {

constexpr int Middle = 88;  // the screen's middle, between columns 87 and 88

struct TitleGhost {
    int y;  // where the title screen draws the ghost (at x 18)
    uint8_t ink;
    const char* name;
    const char* nickname;
};

const TitleGhost TitleGhosts[4] = {
    {45, Red, "EMBER", "\"SIZZLE\""},
    {67, Pink, "BLUSH", "\"TWIRLY\""},
    {89, Cyan, "FROST", "\"WOBBLY\""},
    {112, Orange, "AMBER", "\"DAWDLE\""},
};

constexpr int NameX = 36, NicknameX = 108;

}  // namespace

Canvas DrawTitleCard() {
    Canvas card(176, 220, Black);
    // The heading, large, on a blue shadow one pixel down and right.
    DrawTextCentred(card, Middle + 1, 24, "GLIMMO", Blue, 2);
    DrawTextCentred(card, Middle, 23, "GLIMMO", Yellow, 2);

    DrawText(card, NameX, 37, "CHARACTER", White);
    DrawText(card, NicknameX, 37, "NICKNAME", White);
    for (const TitleGhost& g : TitleGhosts) {
        DrawText(card, NameX, g.y + 3, g.name, g.ink);
        DrawText(card, NicknameX, g.y + 3, g.nickname, g.ink);
    }

    // A dot and an energiser with what they score.
    const int blockX = Middle - (6 + 6 + TextWidth("10 PTS")) / 2;
    card.Box(blockX + 2, 137, 2, 2, Pink);
    DrawText(card, blockX + 12, 135, "10 PTS", White);
    card.Paste(MapToCanvas({".XXXX.", "XXXXXX", "XXXXXX", "XXXXXX", "XXXXXX", ".XXXX."}, {{'X', Pink}}), blockX, 146);
    DrawText(card, blockX + 12, 147, "50 PTS", White);

    DrawTextCentred(card, Middle, 167, "PRESS ENTER TO START", Yellow);
    DrawTextCentred(card, Middle, 178, "CURSOR KEYS TO STEER", White);

    // A row of dots being eaten, for a little life along the bottom.
    card.Paste(PlayerFigure(12, 0, MouthHalfOpen), 40, 191);
    for (int x = 58; x < 140; x += 8) card.Box(x, 196, 2, 2, Pink);

    DrawTextCentred(card, Middle, 210, "GLIMMO 1.0", Grey);
    return card;
}

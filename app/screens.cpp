// The title screen (instructions card, best score, the four ghosts beside their table)
// and the pause screen (the empty maze, the scores and the PAUSED banner).
#include "app/screens.h"

#include "app/game_frame.h"
#include "app/settings.h"
#include "game/ghosts.h"
#include "game/score.h"
#include "gfx/art.h"
#include "gfx/surface.h"

namespace {

void DrawHighScoreLabel() { BlitKeyed(BackBuffer, 91, 3, 65, 6, SpriteSheet, KeyColour, 0, 60); }

}  // namespace

void TitleFrame() {
    CopySurface(BackBuffer, TitleBackdrop);
    DrawHighScoreLabel();
    DrawNumber(HiScore, 90, 12);
    PlaceTitleGhosts();
    DrawGhosts();
    AnimCounter = (AnimCounter + 1) % 8;
    PresentFrame();
}

void PauseFrame() {
    // The bare maze: the paused board stays hidden.
    CopySurface(BackBuffer, MazeBackdrop);
    DrawHighScoreLabel();
    BlitKeyed(BackBuffer, 20, 3, 20, 6, SpriteSheet, KeyColour, 60, 66);
    DrawNumber(Score, 10, 12);
    DrawNumber(HiScore, 90, 12);
    BlitKeyed(BackBuffer, 0, 102, 176, 8, PausedBanner, KeyColour, 0, 0);
    PresentFrame();
}

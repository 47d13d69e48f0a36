// The title screen (instructions card, best score, the four ghosts beside their table)
// and the pause screen (the empty maze, the scores and the PAUSED banner).
#include "app/screens.h"
#include "game/ghosts.h"
#include "game/phase.h"
#include "game/score.h"
#include "game/score_drawing.h"
#include "gfx/art.h"
#include "gfx/surface.h"

void TitleFrame() {
    CopySurface(BackBuffer, TitleBackdrop);
    DrawBestScore();
    PlaceTitleGhosts();
    DrawGhosts();
    AnimCounter = (AnimCounter + 1) % 8;
    PresentFrame();
}

void PauseFrame() {
    // The bare maze: the paused board stays hidden.
    CopySurface(BackBuffer, MazeBackdrop);
    DrawScorePanel();
    DrawSprite(0, 102, 176, 8, 0, 0, PausedBanner);
    PresentFrame();
}

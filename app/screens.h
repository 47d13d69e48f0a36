// The title screen (instructions card, best score, animated ghosts) and the pause screen.
#pragma once

void TitleFrame();
void PauseFrame();

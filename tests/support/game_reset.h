// The game's globals put back as at the title with a level set up (the maze full of
// dots, ghosts and player at their starts), and the loop voices forgotten, so each test
// of the game starts from the same place whatever the one before it left.
#pragma once

void ResetGameGlobals();
void ForgetLoopVoices();

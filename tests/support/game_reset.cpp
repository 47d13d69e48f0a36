// Putting the game's globals back between tests.
#include "tests/support/game_reset.h"
#include "app/window_proc.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"
#include "platform/keys.h"

void ResetGameGlobals() {
    ResetKeyStates();
    GamePhase = PhaseTitle;
    Paused = 0;
    SoundClosed = 0;
    ChompOn = FrightLoopOn = EyesLoopOn = 0;
    AnimCounter = FlashCounter = SceneIndex = 0;
    DotsEaten = 0;
    RestoreDots();
    ResetGhosts();
    ResetPlayer();
    ResetGame();
    SetupLevel();
}

void ForgetLoopVoices() {
    ChompVoice = FrightVoice = EyesVoice = nullptr;
    for (Voice*& v : SirenVoices) v = nullptr;
}

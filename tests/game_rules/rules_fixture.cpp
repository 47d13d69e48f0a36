// Shared set-up of the rules tests: a level begun by hand, actors placed by hand.
#include "tests/game_rules/rules_fixture.h"
#include "game/ghosts.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"

void RulesTest::BeginPlay(int32_t level) {
    Level = level;
    ResetGhosts();
    ResetPlayer();
    SetupLevel();
    CalmGhosts();
    Player.state = PlayerAlive;
    GamePhase = PhasePlaying;
}

void RulesTest::PlacePlayer(int32_t x, int32_t y, int32_t dir) { PutPlayer(x, y, dir, Now() + 100000); }

void RulesTest::PlaceGhost(int g, int32_t x, int32_t y, int32_t dir, int32_t mode) {
    GhostRecord& gh = Ghosts[g - 1];
    gh.x = x;
    gh.y = y;
    gh.dir = dir;
    gh.mode = mode;
    gh.inHouse = 0;
    gh.chasing = 0;
    gh.nextStep = Now() - 1;
}

void RulesTest::StepGhostPixels(int g, int pixels) {
    const GhostRecord& gh = Ghosts[g - 1];
    for (int moved = 0, frames = 0; moved < pixels; ++frames) {
        ASSERT_LT(frames, 100000) << "ghost " << g << " stopped moving";
        const int32_t x = gh.x, y = gh.y;
        UpdateGhosts(Now());
        if (gh.x != x || gh.y != y) ++moved;
        Advance(11);
    }
}

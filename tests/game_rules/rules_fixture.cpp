// Shared set-up of the rules tests: world, globals at a level start, stand-in voices.
#include "tests/game_rules/rules_fixture.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "app/window_proc.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/player.h"
#include "game/score.h"
#include "platform/clock.h"
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"
#include "tests/support/game_reset.h"
#include "tests/support/test_world.h"

void RulesTest::SetUp() {
    TestWorldOptions options;
    options.openDisplay = openDisplay;
    options.startTick = startTick;
    backend = &StartTestWorld(options);
    ResetGameGlobals();
    voices.Install();
}

void RulesTest::TearDown() {
    ForgetLoopVoices();
    StopTestWorld();
}

uint32_t RulesTest::Now() const { return GetTickCount(); }

void RulesTest::Advance(uint32_t ms) { backend->Advance(ms); }

void RulesTest::BeginPlay(int32_t level) {
    Level = level;
    ResetGhosts();
    ResetPlayer();
    SetupLevel();
    CalmGhosts();
    Player.state = PlayerAlive;
    GamePhase = PhasePlaying;
}

void RulesTest::PlacePlayer(int32_t x, int32_t y, int32_t dir) {
    Player.x = x;
    Player.y = y;
    Player.dir = dir;
    Player.wantLeft = Player.wantRight = Player.wantUp = Player.wantDown = 0;
    Player.state = PlayerAlive;
    Player.nextStep = Now() + 100000;  // the player stays put unless a test moves it
}

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

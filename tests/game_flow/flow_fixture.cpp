// Shared set-up of the game-flow tests: world, globals, stand-in loop voices.
#include "tests/game_flow/flow_fixture.h"
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

void FlowTest::SetUp() {
    TestWorldOptions options;
    options.openDisplay = openDisplay;
    options.openSound = openSound;
    backend = &StartTestWorld(options);
    ResetGameGlobals();
    voices.Install();
}

void FlowTest::TearDown() {
    ForgetLoopVoices();
    StopTestWorld();
}

uint32_t FlowTest::Now() const { return GetTickCount(); }

void FlowTest::Advance(uint32_t ms) { backend->Advance(ms); }

void FlowTest::Frame() {
    GameFrame();
    Advance(11);
}

void FlowTest::StartPlaying() {
    StartNewGame();
    voices.Install();
    Advance(4301);
    Frame();
    ASSERT_EQ(GamePhase, PhasePlaying);
}

void FlowTest::PlacePlayer(int32_t x, int32_t y, int32_t dir) {
    Player.x = x;
    Player.y = y;
    Player.dir = dir;
    Player.wantLeft = Player.wantRight = Player.wantUp = Player.wantDown = 0;
    Player.state = PlayerAlive;
    Player.nextStep = Now() - 1;
}

// The base of the game-world tests: world, globals, stand-in loop voices.
#include "tests/support/world_test.h"
#include "game/player.h"
#include "platform/clock.h"
#include "platform/headless/headless_backend.h"
#include "tests/support/game_reset.h"
#include "tests/support/test_world.h"

void WorldTest::SetUp() {
    TestWorldOptions options;
    options.openDisplay = openDisplay;
    options.openSound = openSound;
    options.startTick = startTick;
    backend = &StartTestWorld(options);
    ResetGameGlobals();
    voices.Install();
}

void WorldTest::TearDown() {
    ForgetLoopVoices();
    StopTestWorld();
}

uint32_t WorldTest::Now() const { return GetTickCount(); }

void WorldTest::Advance(uint32_t ms) { backend->Advance(ms); }

void WorldTest::PutPlayer(int32_t x, int32_t y, int32_t dir, uint32_t nextStep) {
    Player.x = x;
    Player.y = y;
    Player.dir = dir;
    Player.wantLeft = Player.wantRight = Player.wantUp = Player.wantDown = 0;
    Player.state = PlayerAlive;
    Player.nextStep = nextStep;
}

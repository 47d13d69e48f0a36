// Shared set-up of the game-flow tests: frames, a started game, a placed player.
#include "tests/game_flow/flow_fixture.h"
#include "game/game_frame.h"
#include "game/phase.h"

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

void FlowTest::PlacePlayer(int32_t x, int32_t y, int32_t dir) { PutPlayer(x, y, dir, Now() - 1); }

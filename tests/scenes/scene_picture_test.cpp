// What the scenes' frames show: the figures' cells and places, half and third pixels
// truncated toward zero, the nail, and the tear stages of the snagged ghost.
#include <gtest/gtest.h>
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "game/scenes.h"
#include "gfx/art.h"
#include "tests/scenes/scene_runner.h"
#include "tests/support/test_world.h"

namespace {

class ScenePicture : public ::testing::Test {
protected:
    void SetUp() override {
        StartTestWorld();
        BeginScene();
    }
    void TearDown() override { StopTestWorld(); }
    // Runs frames until the state matches, leaving the next frame to the test.
    static void RunUntil(void (*scene)(), bool (*done)()) {
        for (int i = 0; i < 2000 && !done(); ++i) scene();
        ASSERT_TRUE(done());
    }
    static Layer SmallPlayer() {
        static const int32_t cells[5] = {60, 48, 36, 48, 60};
        return {SpriteSheet, ScenePlayerX / 2, 104, 12, 12, cells[ScenePlayerFrame / 3], 0};
    }
};

TEST_F(ScenePicture, ChaseFirstHalfShowsPlayerAndGhost) {
    RunUntil(ChaseScene, [] { return SceneGhostX == 100; });
    int32_t body = AnimCounter < 4 ? 0 : 12;
    std::vector<Layer> layers = {
        SmallPlayer(), {SpriteSheet, 100, 104, 12, 12, body, 24}, {SpriteSheet, 100, 104, 12, 12, 12, 48}};
    ChaseScene();
    ExpectPicture(layers);
}

// The frame after the turn: the giant player waits off-screen at x -30 and the
// frightened ghost shows its two right-hand columns at x -10.
TEST_F(ScenePicture, ChaseFrameAfterTurn) {
    RunUntil(ChaseScene, [] { return SceneDirection > 0; });
    int32_t body = AnimCounter < 4 ? 0 : 12;
    ChaseScene();
    ExpectPicture({{SpriteSheet, -10, 104, 12, 12, body, 36}, {SpriteSheet, -10, 104, 12, 12, 48, 48}});
    // Half a pixel left of zero is drawn at x 0, not -1.
    SceneGhostX = -1;
    ScenePlayerX = 40;
    ScenePlayerFrame = 9;  // giant cell (67, 1), wide open
    body = AnimCounter < 4 ? 0 : 12;
    ChaseScene();
    ExpectPicture({{SceneSheet, 40, 92, 20, 20, 67, 1},
                   {SpriteSheet, 0, 104, 12, 12, body, 36},
                   {SpriteSheet, 0, 104, 12, 12, 48, 48}});
}

TEST_F(ScenePicture, PatchWalksBackWithoutCloth) {
    RunUntil(PatchScene, [] { return SceneDirection > 0; });
    SceneGhostX = -25;  // third pixels: x -8, not -9
    AnimCounter = 9;
    PatchScene();
    ExpectPicture({{SceneSheet, -8, 104, 17, 9, 17, 47}});
    SceneGhostX = 300;
    AnimCounter = 7;
    PatchScene();
    ExpectPicture({{SceneSheet, 100, 104, 17, 9, 0, 47}});
}

// The cloth hangs on the nail at x 77 while the body pulls away and tears.
TEST_F(ScenePicture, SnagStagesAndNail) {
    const std::vector<std::pair<int, int>> nail = {{88, 113}, {88, 114}};
    RunUntil(SnagScene, [] { return SceneGhostX == 300; });
    int32_t body = AnimCounter < 4 ? 0 : 12;
    std::vector<Layer> running = {
        SmallPlayer(), {SpriteSheet, 150, 104, 12, 12, body, 24}, {SpriteSheet, 150, 104, 12, 12, 12, 48}};
    SnagScene();
    ExpectPicture(running, nail);
    struct {
        int32_t tear, cloth;
        const Image* sheet;
        int32_t bx, by, eyes, d;
    } stages[] = {{0, 0, SpriteSheet, 12, 24, 12, 1},
                  {59, 12, SpriteSheet, 12, 24, 12, 2},
                  {299, 60, SceneSheet, 24, 34, 12, 10},
                  {539, 72, SceneSheet, 24, 34, 24, 12}};
    for (const auto& s : stages) {
        SceneGhostX = 154;
        TearCounter = s.tear;
        ScenePlayerX = 100;
        std::vector<Layer> torn = {SmallPlayer(),
                                   {SceneSheet, 77, 110, 12, 5, s.cloth, 28},
                                   {s.sheet, 77 - s.d, 104, 12, 12, s.bx, s.by},
                                   {SpriteSheet, 77 - s.d, 104, 12, 12, s.eyes, 48}};
        SnagScene();
        ExpectPicture(torn, nail);
        EXPECT_EQ(GamePhase == PhaseSceneDone, s.tear == 539) << "tear " << s.tear;
    }
}

// The snag follows the ghost's own position, wherever the player is.
TEST_F(ScenePicture, SnagFollowsTheGhostAlone) {
    SnagScene();
    SceneGhostX = 156;  // x 78: still running
    ScenePlayerX = -100;
    SnagScene();
    EXPECT_EQ(TearCounter, 0);
    EXPECT_EQ(SceneGhostX, 155);
    ScenePlayerX = 354;  // x 77: snagged, though the player is far to the right
    SnagScene();
    EXPECT_EQ(TearCounter, 1);
    EXPECT_EQ(SceneGhostX, 155);
}

}  // namespace

// The scenes' script frame by frame: when the ghost sets off, when the scene turns or
// snags and ends, how the walk is paced, how often the tune starts, the fruit row.
#include <gtest/gtest.h>
#include <vector>
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "game/scenes.h"
#include "game/score.h"
#include "game/score_drawing.h"
#include "gfx/art.h"
#include "tests/scenes/scene_runner.h"
#include "tests/support/test_world.h"

namespace {

class SceneScript : public ::testing::Test {
protected:
    void SetUp() override {
        StartTestWorld({.openSound = true});
        BeginScene();
    }
    void TearDown() override { StopTestWorld(); }
};

TEST_F(SceneScript, ChaseSetsOffTurnsAndEnds) {
    SceneMarks m = RunScene(ChaseScene);
    EXPECT_EQ(m.ghostMoved, 130);
    EXPECT_EQ(m.turned, 430);
    EXPECT_EQ(m.ended, 842);
    EXPECT_EQ(m.tuneStarts, (std::vector<int>{1, 430}));
    EXPECT_EQ(m.maxAnimSecondHalf, 7);
}

TEST_F(SceneScript, SnagCatchesAtTheNailAndEnds) {
    SceneMarks m = RunScene(SnagScene);
    EXPECT_EQ(m.snagged, 230);
    EXPECT_EQ(m.turned, 0);
    EXPECT_EQ(m.ended, 769);
    EXPECT_EQ(TearCounter, 540);
    EXPECT_EQ(m.tuneStarts, std::vector<int>{1});
}

TEST_F(SceneScript, PatchTurnsAndWalksBackSlowly) {
    SceneMarks m = RunScene(PatchScene);
    EXPECT_EQ(m.ghostMoved, 130);
    EXPECT_EQ(m.turned, 475);
    EXPECT_EQ(m.ended, 1068);
    EXPECT_EQ(m.tuneStarts, (std::vector<int>{1, 475}));
    EXPECT_EQ(m.maxAnimFirstHalf, 7);
    EXPECT_EQ(m.maxAnimSecondHalf, 15);
}

// The ghost waits at x 180 for 129 frames, then skips every frame whose new mouth
// counter is a multiple of 3: two pixels in three frames.
TEST_F(SceneScript, GhostStartUpPace) {
    static std::vector<int> moves;
    moves.clear();
    static int32_t last;
    last = 180;
    RunScene(ChaseScene, [](int frame) {
        if (SceneDirection > 0 || frame < 2) return;
        if (SceneGhostX != last) {
            moves.push_back(frame);
        } else if (frame >= 130) {
            EXPECT_EQ(ScenePlayerFrame % 3, 0) << "frame " << frame;
        }
        if (frame < 130) {
            EXPECT_EQ(SceneGhostX, 180) << "frame " << frame;
        }
        last = SceneGhostX;
    });
    for (int f : moves) EXPECT_NE(f % 15 % 3, 0) << "moved in frame " << f;
    // 180 down to -20 before the turn; the 201st step, below -20, is the turn itself.
    EXPECT_EQ(moves.size(), 200u);
}

// Every frame of every scene carries the level's fruit row along the bottom.
TEST_F(SceneScript, FruitRowOnEveryFrame) {
    static std::vector<uint16_t> row;
    BeginScene(7);
    CopySurface(BackBuffer, BlackBackdrop);
    DrawLevelFruits();
    row.assign(BackBuffer.origin + 200 * BackBuffer.yStep, BackBuffer.origin + 220 * BackBuffer.yStep);
    ASSERT_NE(row, std::vector<uint16_t>(row.size(), row[0])) << "no fruit drawn";
    for (void (*scene)() : {ChaseScene, SnagScene, PatchScene}) {
        BeginScene(7);
        RunScene(scene, [](int frame) {
            std::vector<uint16_t> now(BackBuffer.origin + 200 * BackBuffer.yStep,
                                      BackBuffer.origin + 220 * BackBuffer.yStep);
            ASSERT_EQ(now, row) << "frame " << frame;
        });
    }
}

}  // namespace

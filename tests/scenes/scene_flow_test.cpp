// How the game enters and leaves the scenes: the hand-over after a scene, a new game,
// and whole games through the headless program (scene order, lengths, marks).
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "game/scenes.h"
#include "game/score.h"
#include "tests/support/state_log_reader.h"
#include "tests/support/test_world.h"

namespace {

void DirtySceneState() {
    SceneStarted = 1;
    SceneDirection = +1;
    TearCounter = 321;
    AnimCounter = 13;
    SceneIndex = 2;
}

TEST(SceneHandOver, SceneDoneResetsTheSceneAndStartsTheNextLevel) {
    StartTestWorld();
    DirtySceneState();
    Level = 21;
    GamePhase = PhaseSceneDone;
    GameFrame();
    EXPECT_EQ(SceneIndex, 0);
    EXPECT_EQ(SceneStarted, 0);
    EXPECT_EQ(SceneDirection, -1);
    EXPECT_EQ(TearCounter, 0);
    EXPECT_EQ(AnimCounter, 0);
    EXPECT_EQ(Level, 18);
    EXPECT_EQ(GamePhase, PhaseReady);
    StopTestWorld();
}

// A new game always opens with the chase, from a clean scene state.
TEST(SceneHandOver, NewGameClearsTheSceneState) {
    StartTestWorld();
    DirtySceneState();
    ResetGame();
    EXPECT_EQ(SceneIndex, 0);
    EXPECT_EQ(SceneStarted, 0);
    EXPECT_EQ(SceneDirection, -1);
    EXPECT_EQ(TearCounter, 0);
    StopTestWorld();
}

// One pass of the state log: the fields the scenes are seen by.
struct Pass {
    int phase, level, scene, ghostX;
};

// A game that eats its way through the levels: every quarter second the dot count is
// put one short of the clear, so each level ends at the player's first dot.
std::vector<Pass> PlayThroughTheLevels(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    std::ofstream script(dir / "levels.script");
    script << "100 tap RETURN\n";
    for (int t = 200; t < 250000; t += 250) script << t << " set DotsEaten 243\n";
    script.close();
    std::string command = std::string(GLIMMO_BINARY_DIR "/run/glimmo --headless --until-tick 250000 --script ") +
                          (dir / "levels.script").string() + " --state-log " + (dir / "levels.log").string() +
                          " --config-dir " + dir.string();
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::vector<Pass> passes;
    for (const std::string& line : StateLogLines((dir / "levels.log").string()))
        passes.push_back({int(StateValue(line, "phase")), int(StateValue(line, "level")),
                          int(StateValue(line, "scene")), int(StateValue(line, "ghosts.0.x"))});
    return passes;
}

struct SceneRun {
    int level, scene, frames, moved = 0, turned = 0, snagged = 0, nextLevel = 0;
};

TEST(SceneHarness, ScenesFollowTheLevelsInOrder) {
    std::vector<Pass> p = PlayThroughTheLevels(std::filesystem::path(GLIMMO_BINARY_DIR) / "tests/scenes/run");
    std::vector<SceneRun> runs;
    for (size_t i = 1; i < p.size(); ++i) {
        if (p[i].phase != PhaseIntermission || p[i - 1].phase == PhaseIntermission) continue;
        // Pass i only enters the scene; scene frame k is pass i + k.
        SceneRun r{p[i].level, p[i].scene, 0};
        size_t k = 1;
        for (; i + k < p.size() && p[i + k].phase == PhaseIntermission; ++k) {
            int x = p[i + k].ghostX, before = p[i + k - 1].ghostX;
            if (k > 1 && x != before && r.moved == 0) r.moved = int(k);
            if (k > 1 && x > before && r.turned == 0) r.turned = int(k) - 1;
            if (k > 1 && x == before && r.scene == 1 && r.snagged == 0) r.snagged = int(k);
        }
        if (i + k < p.size() && p[i + k].phase == PhaseSceneDone) r.frames = int(k);
        if (i + k + 1 < p.size()) r.nextLevel = p[i + k + 1].level;
        runs.push_back(r);
    }
    const int wantLevels[] = {2, 5, 9, 13, 16, 21, 21};
    const int wantNext[] = {3, 6, 10, 14, 17, 18, 18};
    ASSERT_GE(runs.size(), 7u);
    for (size_t n = 0; n < 7; ++n) {
        const SceneRun& r = runs[n];
        SCOPED_TRACE("scene run " + std::to_string(n));
        EXPECT_EQ(r.level, wantLevels[n]);
        EXPECT_EQ(r.nextLevel, wantNext[n]);
        EXPECT_EQ(r.scene, int(n % 3));
        const int frames[] = {842, 769, 1068}, moved[] = {130, 2, 130}, turned[] = {430, 0, 475};
        EXPECT_EQ(r.frames, frames[r.scene % 3]);
        EXPECT_EQ(r.moved, moved[r.scene % 3]);
        EXPECT_EQ(r.turned, turned[r.scene % 3]);
        EXPECT_EQ(r.snagged, r.scene == 1 ? 230 : 0);
        std::printf("scene %d after level %d: %d frames, ghost off at %d, turn %d, snag %d\n", r.scene, r.level,
                    r.frames, r.moved, r.turned, r.snagged);
    }
}

}  // namespace

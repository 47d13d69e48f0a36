// Whole games through the headless harness: READY! times, eating along a corridor,
// the level-clear flash and the next level, and what the settings file holds after a quit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "platform/registry_store.h"
#include "tests/support/state_log_reader.h"

namespace {

struct Pass {
    uint32_t tick;
    std::string screen;
    int phase, level, score, hiscore, lives, dots, x, y, state;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class HarnessRun : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // The process id in the name: another checkout running the same test at the same
        // time must not remove this one's folder.
        dir = ::testing::TempDir() + "glimmo-flow-" + std::to_string(getpid()) + "-" + info->name();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!HasFailure()) std::filesystem::remove_all(dir, ignored);  // kept for a look when it failed
    }
    // Runs the game on `script` (ticks after the start) until `untilTick`; reads the state log.
    std::vector<Pass> Run(const std::string& script, uint32_t untilTick, const std::string& extra = "",
                          std::string configDir = "") {
        if (configDir.empty()) configDir = dir;
        std::ofstream(dir + "/script.txt") << script;
        const std::string command = std::string(GLIMMO_BINARY_DIR) + "/run/glimmo --headless --script '" + dir +
                                    "/script.txt' --until-tick " + std::to_string(untilTick) + " --state-log '" + dir +
                                    "/log.jsonl' --config-dir '" + configDir + "' " + extra + " > '" + dir +
                                    "/out.txt' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << ReadAll(dir + "/out.txt");
        std::vector<Pass> passes;
        for (const std::string& line : StateLogLines(dir + "/log.jsonl")) {
            auto field = [&](const char* name) { return int(StateValue(line, name)); };
            passes.push_back({uint32_t(StateValue(line, "tick")), StateText(line, "screen"), field("phase"),
                              field("level"), field("score"), field("hiscore"), field("lives"), field("dots"),
                              field("player.x"), field("player.y"), field("player.state")});
        }
        return passes;
    }
    // Tick of the first game pass at or after `from` whose phase is `phase`; 0 if none.
    static uint32_t FirstTick(const std::vector<Pass>& passes, int phase, uint32_t from = 0) {
        for (const Pass& p : passes)
            if (p.tick >= from && p.screen == "game" && p.phase == phase) return p.tick;
        return 0;
    }
    std::string dir;
};

constexpr uint32_t Start = 1000000;

TEST_F(HarnessRun, NewGameReadyThenEatingAlongTheBottomCorridor) {
    const auto passes = Run("100 tap RETURN\n", 6000);
    const uint32_t ready = FirstTick(passes, 2);
    const uint32_t play = FirstTick(passes, 1);
    ASSERT_NE(ready, 0u);
    ASSERT_NE(play, 0u);
    EXPECT_EQ(ready, Start + 100);
    EXPECT_GE(play - ready, 4300u);
    EXPECT_LT(play - ready, 4311u);
    // The player walks left from (82, 154) and eats the row: 10 points a dot.
    const Pass& last = passes.back();
    EXPECT_EQ(last.y, 154);
    EXPECT_EQ(last.x, 37);  // stopped by the wall at column 6
    EXPECT_EQ(last.dots, 7);
    EXPECT_EQ(last.score, 70);
    EXPECT_EQ(last.hiscore, 70);
    int lastDots = 0;
    for (const Pass& p : passes) {
        EXPECT_EQ(p.score, p.dots * 10);
        EXPECT_LE(p.dots - lastDots, 1);  // at most one cell a frame
        lastDots = p.dots;
    }
}

TEST_F(HarnessRun, LastDotFlashesAndTheNextLevelShowsReadyFor2500) {
    const auto passes =
        Run("100 tap RETURN\n4500 set DotsEaten 243\n", 13000, "--screenshot 300:" + dir + "/ready.png");
    const uint32_t clear = FirstTick(passes, 4);
    ASSERT_NE(clear, 0u);
    const uint32_t next = FirstTick(passes, 2, clear);
    ASSERT_NE(next, 0u);
    EXPECT_GE(next - clear, 3500u - 11);
    EXPECT_LT(next - clear, 3500u + 11);
    const uint32_t play = FirstTick(passes, 1, next);
    ASSERT_NE(play, 0u);
    EXPECT_GE(play - next, 2500u - 11);
    EXPECT_LT(play - next, 2500u + 11);
    for (const Pass& p : passes) {
        if (p.tick >= next) {
            EXPECT_EQ(p.level, 2);
        }
    }
    struct stat st {};
    EXPECT_EQ(stat((dir + "/ready.png").c_str(), &st), 0);
}

TEST_F(HarnessRun, BackKeyStoresTheBestScoreAndVolume) {
    const auto passes = Run("100 tap RETURN\n5500 close\n", 8000);
    EXPECT_LT(passes.back().tick, Start + 6000);  // the run ended at the quit, not at the limit
    const std::string reg = ReadAll(SettingsFileIn(dir));
    EXPECT_NE(reg.find("[HKEY_CURRENT_USER\\Software\\brix\\glimmo]"), std::string::npos) << reg;
    const int score = passes.back().hiscore;
    char hiscore[40];
    std::snprintf(hiscore, sizeof hiscore, "\"HiScore\"=dword:%08x", unsigned(score));
    EXPECT_GT(score, 0);
    EXPECT_NE(reg.find(hiscore), std::string::npos) << reg;
    EXPECT_NE(reg.find("\"Sound\"=dword:00000010"), std::string::npos) << reg;
    EXPECT_NE(reg.find("[HKEY_CURRENT_USER\\ControlPanel\\Sounds\\Keypress]"), std::string::npos) << reg;
    // A second run starts with that best score.
    const auto again = Run("", 200);
    EXPECT_EQ(again.back().hiscore, score);
}

TEST_F(HarnessRun, TheDemoKeepsTheVolumeSetWithTheKeysButNeverItsScore) {
    const auto passes = Run("3000 down F6\n3500 up F6\n30000 close\n", 35000, "--autopilot 3");
    EXPECT_GT(passes.back().hiscore, 0);
    const std::string reg = ReadAll(SettingsFileIn(dir));
    EXPECT_EQ(reg.find("HiScore"), std::string::npos) << reg;
    // Half a second of F6 made it louder than the first run's 16, and that is kept.
    const size_t sound = reg.find("\"Sound\"=dword:");
    ASSERT_NE(sound, std::string::npos) << reg;
    EXPECT_GT(std::stoul(reg.substr(sound + 14, 8), nullptr, 16), 16u) << reg;
}

TEST_F(HarnessRun, DeactivationStoresNothing) {
    const auto passes = Run("100 tap RETURN\n5500 deactivate\n", 8000);
    EXPECT_GT(passes.back().hiscore, 0);
    EXPECT_EQ(ReadAll(SettingsFileIn(dir)).find("HiScore"), std::string::npos);
}

TEST_F(HarnessRun, UnwritableSettingsFolderCostsOneLineOnly) {
    std::ofstream(dir + "/file") << "not a folder";
    const auto passes = Run("100 tap RETURN\n5500 close\n", 8000, "", dir + "/file/sub");
    EXPECT_LT(passes.back().tick, Start + 6000);
    const std::string out = ReadAll(dir + "/out.txt");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
}

TEST_F(HarnessRun, PauseShowsThePauseScreenAndPlayGoesOnWhereItStood) {
    const auto plain = Run("100 tap RETURN\n", 5200);
    const auto paused = Run("100 tap RETURN\n4800 tap F10\n9800 tap F10\n", 10200);
    bool sawPause = false;
    for (const Pass& p : paused) sawPause |= p.screen == "pause";
    EXPECT_TRUE(sawPause);
    // 5 s of pause later the player stands where it stood without the pause (within a pixel).
    EXPECT_NEAR(paused.back().x, plain.back().x, 1);
    EXPECT_EQ(paused.back().dots, plain.back().dots);
}

}  // namespace

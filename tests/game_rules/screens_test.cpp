// The title screen (best score, the four ghosts and their animation), the pause screen
// that hides the board and changes nothing, and GAME OVER back to the title.
#include "app/screens.h"
#include <memory>
#include "app/settings.h"
#include "app/window_proc.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"
#include "gfx/art.h"
#include "platform/win_types.h"
#include "tests/game_rules/rules_fixture.h"
#include "tests/game_rules/sheet_probe.h"

namespace {

class ScreensTest : public RulesTest {
protected:
    void SetUp() override {
        openDisplay = true;
        RulesTest::SetUp();
    }
    uint16_t Pixel(const Surface& s, int x, int y) const { return s.origin[x * s.xStep + y * s.yStep]; }
    // The rectangle of BackBuffer is still the backdrop's: nothing was drawn there.
    bool Untouched(const Surface& backdrop, int x0, int y0, int w, int h) const {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (Pixel(BackBuffer, x, y) != Pixel(backdrop, x, y)) return false;
        return true;
    }
};

TEST_F(ScreensTest, TitleShowsTheFourGhostsBesideTheirTableAndAnimatesThem) {
    SheetProbe probe;
    HiScore = 0;
    AnimCounter = 0;
    TitleFrame();
    const int32_t rows[4] = {45, 89, 67, 112};
    for (int g = 1; g <= 4; ++g) {
        const GhostRecord& gh = Ghosts[g - 1];
        EXPECT_EQ(gh.x, 18);
        EXPECT_EQ(gh.y, rows[g - 1]);
        EXPECT_EQ(gh.mode, Normal);
        EXPECT_EQ(gh.dir, Right);
        EXPECT_TRUE(probe.Shows(18, rows[g - 1], 6, 12, 24 * (g - 1), 24)) << "ghost " << g << " first half";
        EXPECT_TRUE(probe.Shows(24, rows[g - 1], 6, 12, 42, 48)) << "looking right";
    }
    EXPECT_TRUE(probe.Shows(91, 3, 65, 6, 0, 60)) << "HIGH SCORE";
    EXPECT_TRUE(probe.Shows(139, 12, 6, 6, 0, 66)) << "a best score of 0";
    EXPECT_TRUE(Untouched(TitleBackdrop, 90, 12, 49, 6));
    EXPECT_EQ(AnimCounter, 1);
    for (int i = 0; i < 3; ++i) TitleFrame();
    EXPECT_EQ(AnimCounter, 4);
    TitleFrame();
    for (int g = 1; g <= 4; ++g)
        EXPECT_TRUE(probe.Shows(18, rows[g - 1], 6, 12, 24 * (g - 1) + 12, 24)) << "ghost " << g << " second half";
    for (int i = 0; i < 3; ++i) TitleFrame();
    EXPECT_EQ(AnimCounter, 0);
}

TEST_F(ScreensTest, PauseHidesTheBoardAndChangesNothing) {
    BeginPlay(3);
    Score = 4560;
    HiScore = 9870;
    PlaceGhost(1, 40, 46, Right);
    PlacePlayer(100, 154, Left);
    FruitUntil = Now() + 5000;
    AnimCounter = 5;
    FlashCounter = 17;
    const GhostRecord before = Ghosts[0];
    const uint32_t fruitUntil = FruitUntil, nextStep = Player.nextStep;
    SheetProbe probe;
    PauseFrame();
    // Outside the panel and the banner, the picture is exactly the empty maze.
    EXPECT_TRUE(Untouched(MazeBackdrop, 0, 20, 176, 82));
    EXPECT_TRUE(Untouched(MazeBackdrop, 0, 110, 176, 110));
    EXPECT_TRUE(probe.Shows(0, 102, 176, 8, 0, 0)) << "PAUSED across the screen";
    EXPECT_TRUE(probe.Shows(91, 3, 65, 6, 0, 60));
    EXPECT_TRUE(probe.Shows(20, 3, 20, 6, 60, 66)) << "1UP";
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(probe.Shows(38 + 7 * i, 12, 6, 6, 6 * (i == 3 ? 0 : 4 + i), 66));
    EXPECT_TRUE(probe.Shows(118, 12, 6, 6, 54, 66)) << "best score 9870";
    EXPECT_EQ(AnimCounter, 5);
    EXPECT_EQ(FlashCounter, 17);
    EXPECT_EQ(FruitUntil, fruitUntil);
    EXPECT_EQ(Player.nextStep, nextStep);
    EXPECT_EQ(Ghosts[0].x, before.x);
    EXPECT_EQ(Ghosts[0].nextStep, before.nextStep);
}

TEST_F(ScreensTest, GameOverLeadsBackToTheTitleWithTheNewBestScore) {
    HiScore = 500;
    StartNewGame();
    voices.Install();
    Advance(4301);
    GameFrame();
    ASSERT_EQ(GamePhase, PhasePlaying);
    Score = 12340;
    Player.lives = 1;
    Player.state = PlayerLost;
    Advance(11);
    GameFrame();
    ASSERT_EQ(GamePhase, PhaseGameOver);
    EXPECT_EQ(HiScore, 12340);
    WindowProc(nullptr, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(GamePhase, PhaseTitle);
    SheetProbe probe;
    TitleFrame();
    const int digits[5] = {1, 2, 3, 4, 0};
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(probe.Shows(111 + 7 * i, 12, 6, 6, 6 * digits[i], 66)) << i;
    EXPECT_TRUE(Untouched(TitleBackdrop, 90, 12, 21, 6));
}

}  // namespace

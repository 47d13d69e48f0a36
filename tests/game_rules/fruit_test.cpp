// The bonus fruit: out at 76 and 160 eaten cells, for the level's time or until eaten,
// eaten only on its exact square, its points, and its return after a death at 76.
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"
#include "tests/game_rules/rules_fixture.h"

namespace {

class FruitTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        BeginPlay(1);
        PlacePlayer(100, 46, Right);
        // No ghost near the fruit.
        for (GhostRecord& g : Ghosts) g.mode = Eyes;
    }
};

TEST_F(FruitTest, TwoFruitsALevelAt76And160) {
    for (int32_t dots = 0; dots <= 244; ++dots) {
        DotsEaten = dots;
        FruitAppearanceRule(Now());
        if (dots == 76 || dots == 160) {
            EXPECT_EQ(FruitShown, 1) << dots;
            EXPECT_EQ(FruitUntil, Now() + 15000);
            Advance(15001);
            FruitAppearanceRule(Now());
            EXPECT_EQ(FruitShown, 0) << "gone after the level's fruit time";
            EXPECT_EQ(FruitUntil, 0u);
        } else {
            EXPECT_EQ(FruitShown, 0) << dots;
        }
    }
    EXPECT_EQ(FruitCount, 2);
    DotsEaten = 76;
    FruitAppearanceRule(Now());
    EXPECT_EQ(FruitShown, 0) << "a fruit never comes back in the same level";
}

TEST_F(FruitTest, TheFruitIsEatenOnlyOnItsExactSquare) {
    DotsEaten = 76;
    FruitAppearanceRule(Now());
    for (auto [x, y] : {std::pair{81, 118}, std::pair{83, 118}, std::pair{82, 117}, std::pair{79, 118}}) {
        PlacePlayer(x, y, Right);
        CheckCollisions();
        EXPECT_EQ(Score, 0) << x << "," << y;
        EXPECT_EQ(FruitShown, 1);
    }
    PlacePlayer(82, 118, Right);
    CheckCollisions();
    EXPECT_EQ(Score, 100) << "cherries at level 1";
    EXPECT_EQ(FruitShown, 0);
    EXPECT_EQ(FruitUntil, 0u);
    EXPECT_EQ(FruitPointsUntil, Now() + 2000);
    CheckCollisions();
    EXPECT_EQ(Score, 100) << "eaten once";
}

TEST_F(FruitTest, EachLevelsFruitAndItsPoints) {
    const int32_t points[] = {0,    100,  200,  500,  500,  700,  700,  1000, 1000, 2000, 2000,
                              3000, 3000, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000};
    for (int32_t level = 1; level <= 21; ++level) {
        Level = level;
        Score = 0;
        FruitUntil = Now() + 1000;
        PlacePlayer(82, 118, Left);
        CheckCollisions();
        EXPECT_EQ(Score, points[level]) << "level " << level;
    }
    EXPECT_EQ(FruitKindForLevel(0), 0);
    EXPECT_EQ(FruitKindForLevel(-3), 0);
    EXPECT_EQ(FruitKindForLevel(27), 8);
    EXPECT_EQ(FruitKindForLevel(500), 8) << "levels past the table keep the key";
}

TEST_F(FruitTest, ADeathAt76BringsTheFruitBack) {
    DotsEaten = 76;
    FruitAppearanceRule(Now());
    ASSERT_EQ(FruitCount, 1);
    // The ready phase after a lost life sets the level up again.
    FruitUntil = 0;
    SetupLevel();
    FruitAppearanceRule(Now());
    EXPECT_EQ(FruitShown, 1);
    EXPECT_EQ(FruitCount, 1);
}

}  // namespace

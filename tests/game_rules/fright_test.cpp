// Energisers and the frightened period: its length and blinking per level, the levels
// where it blinks from the start or only turns the ghosts, calming, and the loop sounds.
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"
#include "tests/game_rules/rules_fixture.h"

namespace {

class FrightTest : public RulesTest {
protected:
    // Frames 11 ms apart running the fright-end and blink rules, as the frame does.
    struct Timeline {
        int32_t firstBlink = -1;  // ms after the energiser when BlinkPhase first became 1
        int32_t end = -1;         // ms after the energiser when the period ended
        int toggles = 0;
    };
    Timeline Run(uint32_t limit) {
        Timeline t;
        const uint32_t start = Now();
        int32_t phase = BlinkPhase;
        while (Now() - start <= limit) {
            FrightEndRule(Now());
            BlinkRule(Now());
            if (BlinkPhase != phase) {
                ++t.toggles;
                if (t.firstBlink < 0) t.firstBlink = int32_t(Now() - start);
                phase = BlinkPhase;
            }
            if (FrightActive == 0) {
                t.end = int32_t(Now() - start);
                break;
            }
            Advance(11);
        }
        return t;
    }
    void Energiser() {
        FleeGhosts();
        FrightenGhosts();
    }
};

TEST_F(FrightTest, FrightLengthAndBlinkFollowTheLevel) {
    struct Case {
        int32_t level, duration;
    };
    const Case cases[] = {{1, 10000}, {2, 8000}, {3, 7000}, {4, 5000},  {5, 7000},  {6, 5000},
                          {7, 7000},  {8, 5000}, {9, 7000}, {10, 5000}, {11, 7000}, {12, 5000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level);
        BeginPlay(c.level);
        PlaceGhost(1, 40, 46, Right);
        Energiser();
        EXPECT_EQ(Ghosts[0].mode, Frightened);
        EXPECT_EQ(FrightEnd - Now(), uint32_t(c.duration));
        EXPECT_EQ(BlinkTick - Now(), uint32_t(c.duration - 3000));
        const Timeline t = Run(20000);
        // Frames are 11 ms apart: each deadline is seen by the first frame past it.
        EXPECT_GT(t.firstBlink, c.duration - 3000);
        EXPECT_LE(t.firstBlink, c.duration - 3000 + 11);
        EXPECT_GT(t.end, c.duration);
        EXPECT_LE(t.end, c.duration + 11);
        EXPECT_EQ(t.toggles, 10) << "every 300 ms for the last 3 s";
        EXPECT_EQ(Ghosts[0].mode, Normal);
    }
}

TEST_F(FrightTest, LevelsThirteenToFifteenBlinkFromTheStart) {
    for (int32_t level : {13, 14, 15}) {
        BeginPlay(level);
        PlaceGhost(1, 40, 46, Right);
        Energiser();
        EXPECT_EQ(FrightEnd - Now(), 1500u);
        BlinkRule(Now() + 1);
        EXPECT_EQ(BlinkPhase, 1) << "level " << level << ": white at once";
        Advance(1);
        const Timeline t = Run(5000);
        EXPECT_GT(t.end, 1499);
        EXPECT_LE(t.end, 1511);
    }
}

TEST_F(FrightTest, FromLevelSixteenAnEnergiserOnlyTurnsTheGhosts) {
    for (int32_t level : {16, 17, 21, 0, 99}) {
        BeginPlay(level);
        PlacePlayer(150, 190, Left);
        PlaceGhost(1, 40, 46, Right);
        Ghosts[0].targetX = 1;
        Energiser();
        EXPECT_EQ(Ghosts[0].dir, Left) << "reversed by the flee";
        EXPECT_EQ(Ghosts[0].mode, Frightened);
        // The same frame's fright-end rule calms them at once.
        FrightEndRule(Now());
        EXPECT_EQ(Ghosts[0].mode, Normal) << "level " << level;
        EXPECT_EQ(FrightActive, 0);
        // Met right away, the ghost catches the player.
        PlaceGhost(1, 150, 190, Left);
        CheckCollisions();
        EXPECT_EQ(Player.state, PlayerDying);
        EXPECT_EQ(GhostsEaten, 0);
    }
}

TEST_F(FrightTest, FrightenTurnsEveryNormalGhostEvenInTheHouseButNotTheEyes) {
    PlaceGhost(1, 40, 46, Right, Eyes);
    PlaceGhost(2, 100, 46, Right);
    GhostsEaten = 3;
    FrightenGhosts();
    EXPECT_EQ(Ghosts[0].mode, Eyes);
    EXPECT_EQ(Ghosts[1].mode, Frightened);
    EXPECT_EQ(Ghosts[2].mode, Frightened);
    EXPECT_EQ(Ghosts[2].inHouse, 1);
    EXPECT_EQ(Ghosts[3].mode, Frightened);
    EXPECT_EQ(GhostsEaten, 0);
    EXPECT_EQ(FrightActive, 1);
    EXPECT_EQ(BlinkPhase, 0);
    // A second energiser neither turns nor retargets the frightened ones.
    Ghosts[1].targetX = 5;
    Advance(2000);
    Energiser();
    EXPECT_EQ(Ghosts[1].dir, Right);
    EXPECT_EQ(Ghosts[1].targetX, 5);
    EXPECT_EQ(FrightEnd - Now(), 10000u) << "the period starts again";
}

TEST_F(FrightTest, CalmingTurnsTheGhostsTowardThePlayerAndRedHuntsAgain) {
    PlacePlayer(100, 100, Left);
    struct Case {
        int32_t x, y, dir, turned;
    };
    // Each moving away from the player turns round; one moving toward it keeps going.
    const Case cases[] = {{100, 40, Up, Down},
                          {120, 100, Right, Left},
                          {100, 160, Down, Up},
                          {40, 46, Left, Right},
                          {40, 46, Right, Right}};
    for (const Case& c : cases) {
        PlaceGhost(1, c.x, c.y, c.dir, Frightened);
        Ghosts[0].targetX = 1;
        FrightActive = 1;
        CalmGhosts();
        EXPECT_EQ(Ghosts[0].dir, c.turned) << c.x << "," << c.y;
        EXPECT_EQ(Ghosts[0].targetX, 100);
        EXPECT_EQ(Ghosts[0].targetY, 100);
        EXPECT_EQ(Ghosts[0].mode, Normal);
        EXPECT_EQ(Ghosts[0].chasing, 1);
    }
    // One on its way out of the house keeps its target; a non-red ghost does not hunt.
    PlaceGhost(2, 82, 90, Up, Frightened);
    Ghosts[1].targetX = 82;
    Ghosts[1].targetY = 82;
    CalmGhosts();
    EXPECT_EQ(Ghosts[1].targetY, 82);
    EXPECT_EQ(Ghosts[1].dir, Up);
    EXPECT_EQ(Ghosts[1].chasing, 0);
    EXPECT_EQ(FrightActive, 0);
}

TEST_F(FrightTest, CalmingGivesTheSirenBackUnlessEyesAreRunning) {
    DotsEaten = 200;
    FrightLoopOn = 1;
    voices.fright.paused = false;
    CalmGhosts();
    EXPECT_TRUE(voices.fright.paused);
    EXPECT_EQ(voices.PlayingSiren(), 3);
    EXPECT_EQ(FrightLoopOn, 0);

    StopSirens();
    FrightLoopOn = 1;
    EyesLoopOn = 1;
    CalmGhosts();
    EXPECT_EQ(voices.PlayingSiren(), -1);
    EXPECT_EQ(EyesLoopOn, 1);
}

TEST_F(FrightTest, LoopSoundFollowsTheModes) {
    voices.sirens[0].paused = false;
    SelectLoopSound(Now());
    EXPECT_EQ(voices.PlayingSiren(), 0) << "nothing to change: the siren keeps playing";

    PlaceGhost(1, 40, 46, Right);
    FrightenGhosts();
    SelectLoopSound(Now());
    EXPECT_FALSE(voices.fright.paused);
    EXPECT_EQ(voices.PlayingSiren(), -1);
    EXPECT_EQ(FrightLoopOn, 1);

    Ghosts[0].mode = Eyes;
    SelectLoopSound(Now());
    EXPECT_FALSE(voices.eyes.paused);
    EXPECT_TRUE(voices.fright.paused);
    EXPECT_EQ(EyesLoopOn, 1);
    EXPECT_EQ(FrightLoopOn, 0);

    // Past its end the period no longer holds the fright loop.
    Ghosts[0].mode = Normal;
    voices.fright.paused = true;
    SelectLoopSound(FrightEnd);
    EXPECT_TRUE(voices.fright.paused);
}

}  // namespace

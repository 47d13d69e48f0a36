// Runs the program headless in this process and watches every pass.
#include "tests/soak/soak_run.h"
#include "app/command_line.h"
#include "app/game_frame.h"
#include "app/harness.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/player.h"
#include "game/score.h"
#include "app/entry.h"
#include "app/window_proc.h"
#include "gfx/scenes.h"
#include "platform/messages.h"
#include "tests/support/game_reset.h"

namespace {
uint64_t Mix(uint64_t h, int64_t v) { return (h ^ uint64_t(v)) * 0x100000001B3ull; }

// Every run in this process starts from the state a fresh program starts from.
void FreshProgramState() {
    GamePhase = PhaseTitle;
    Paused = 0;
    PauseStartTick = PhaseTimer = LevelClearEnd = FrameStartTick = 0;
    AnimCounter = FlashCounter = SceneIndex = 0;
    ChompOn = FrightLoopOn = EyesLoopOn = 0;
    RestoreDots();
    DotsEaten = Score = Level = StepInterval = 0;
    Player = PlayerRecord{};
    for (GhostRecord& g : Ghosts) g = GhostRecord{};
    FrightActive = 0;
    FrightEnd = BlinkTick = ScatterTimer = 0;
    FrightDuration = GhostsEaten = BlinkPhase = 0;
    FruitCount = FruitShown = FruitDuration = GhostPointsX = GhostPointsY = 0;
    FruitUntil = FruitPointsUntil = GhostPointsUntil = 0;
    SceneStarted = TearCounter = ScenePlayerX = ScenePlayerY = ScenePlayerFrame = 0;
    SceneDirection = 0;
    ForgetLoopVoices();
}
}  // namespace

SoakResult RunSoak(uint32_t seed, uint64_t games, uint32_t limitMs) {
    SoakResult result;
    CommandLine cl;
    cl.headless = true;
    cl.autopilotSeed = seed;
    cl.untilTick = limitMs;
    uint32_t first = 0, last = 0;
    bool quitting = false;
    result.digest = 0xCBF29CE484222325ull;
    OnPassEnd = [&](const PassInfo& info) {
        if (result.checker.Figures().passes == 0) first = info.tick;
        last = info.tick;
        result.checker.Pass(info.tick);
        uint64_t h = result.digest;
        for (int64_t v : {int64_t(info.tick), int64_t(GamePhase), int64_t(Score), int64_t(Level),
                          int64_t(DotsEaten), int64_t(Player.x), int64_t(Player.y), int64_t(Player.lives)})
            h = Mix(h, v);
        for (const GhostRecord& g : Ghosts) h = Mix(Mix(Mix(h, g.x), g.y), g.mode);
        result.digest = h;
        if (!quitting && result.checker.Figures().gamesFinished >= games) {
            quitting = true;
            PostQuitMessage(0);
        }
    };
    FreshProgramState();
    result.exitCode = RunHeadless(cl);
    OnPassEnd = nullptr;
    result.virtualMs = last - first;
    return result;
}

// Runs the program headless in this process and watches every pass.
#include "tests/soak/soak_run.h"
#include "app/entry.h"
#include "app/global_objects.h"
#include "app/volume_keys.h"
#include "app/window_proc.h"
#include "game/game_frame.h"
#include "game/game_sounds.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/scenes.h"
#include "game/score.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "run/command_line.h"
#include "run/program_run.h"
#include "tests/support/game_reset.h"
#include "tests/support/headless_here.h"

namespace {
uint64_t Mix(uint64_t h, int64_t v) { return (h ^ uint64_t(v)) * 0x100000001B3ull; }

// Every run in this process starts from the state a fresh program starts from.
void FreshProgramState() {
    GamePhase = PhaseTitle;
    Paused = 0;
    PauseStartTick = PhaseTimer = LevelClearEnd = FrameStartTick = 0;
    FrameStarted = 0;
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

// Taps and holds of the pause and volume keys at random moments, on top of the autopilot.
class Disturbance {
public:
    explicit Disturbance(uint32_t seed) : state_(seed * 2654435761u + 1) {}

    void AfterPass(uint32_t now) {
        if (busy_ && int32_t(busyUntil_ - now) > 0) return;  // a key is still on its way
        busy_ = false;
        std::vector<TimedEvent> events;
        if (Paused == 1) {
            Tap(events, VK_F10, now + 1 + Next() % 3000);  // resume after up to 3 s
        } else if (GamePhase == PhasePlaying && Next() % 700 == 0) {
            Tap(events, VK_F10, now + 1);
        } else if (Next() % 1500 == 0) {
            const int key = Next() % 2 ? VK_F6 : VK_F7;
            Hold(events, key, now + 1, 10 + Next() % 800);
        }
        if (!events.empty()) static_cast<ScriptedBackend&>(CurrentBackend()).AddEvents(std::move(events));
    }

private:
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    void Hold(std::vector<TimedEvent>& events, int vk, uint32_t at, uint32_t ms) {
        events.push_back(TimedEvent{at, TimedEvent::KeyDown, vk});
        events.push_back(TimedEvent{at + ms, TimedEvent::KeyUp, vk});
        busyUntil_ = at + ms + 1;
        busy_ = true;
    }
    void Tap(std::vector<TimedEvent>& events, int vk, uint32_t at) { Hold(events, vk, at, 30); }

    uint32_t state_;
    uint32_t busyUntil_ = 0;
    bool busy_ = false;
};
}  // namespace

SoakResult RunSoak(const SoakSetup& setup) {
    SoakResult result;
    CommandLine cl;
    cl.headless = true;
    cl.autopilotSeed = setup.seed;
    cl.untilTick = setup.limitMs;
    cl.startTick = setup.startTick;
    const uint64_t games = setup.games;
    Disturbance disturbance(setup.seed);
    uint32_t first = 0, last = 0;
    bool quitting = false;
    result.digest = 0xCBF29CE484222325ull;
    OnPassEnd = [&](const PassInfo& info) {
        if (result.checker.Figures().passes == 0) first = info.tick;
        last = info.tick;
        result.checker.Pass(info.tick);
        uint64_t h = result.digest;
        for (int64_t v : {int64_t(info.tick), int64_t(GamePhase), int64_t(Score), int64_t(Level), int64_t(DotsEaten),
                          int64_t(Player.x), int64_t(Player.y), int64_t(Player.lives)})
            h = Mix(h, v);
        for (const GhostRecord& g : Ghosts) h = Mix(Mix(Mix(h, g.x), g.y), g.mode);
        result.digest = h;
        if (setup.disturb) disturbance.AfterPass(info.tick);
        if (!quitting && result.checker.Figures().gamesFinished >= games) {
            quitting = true;
            PostQuitMessage(0);
        }
    };
    FreshProgramState();
    result.exitCode = RunHeadlessHere(cl);
    OnPassEnd = nullptr;
    result.virtualMs = last - first;
    return result;
}

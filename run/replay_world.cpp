// The table of the game's globals that a replay puts back.
#include "run/replay_world.h"
#include <unordered_map>
#include <variant>
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

namespace {
using Place = std::variant<int32_t*, uint32_t*, uint8_t*>;

// A value and the numbers a game can give it: a replay that holds another number for it
// is refused, as the game's arithmetic was never meant for it.
struct Field {
    std::string name;
    Place place;
    int64_t lo, hi;
};

constexpr int64_t AnyTick = UINT32_MAX;  // a tick count: 0 to AnyTick
constexpr int64_t Flag = 1;              // 0 or 1
// Positions in pixels, half pixels or third pixels (the scenes' figures start off the
// screen and move in finer steps), and the targets that follow them.
constexpr int64_t PlaceLo = -512, PlaceHi = 1023;

std::vector<Field> MakeTable() {
    std::vector<Field> t = {
        {"GamePhase", &GamePhase, PhaseTitle, PhaseSceneDone},
        {"PhaseTimer", &PhaseTimer, 0, AnyTick},
        {"LevelClearEnd", &LevelClearEnd, 0, AnyTick},
        {"AnimCounter", &AnimCounter, 0, 15},
        {"FlashCounter", &FlashCounter, 0, 23},
        {"SceneIndex", &SceneIndex, 0, 2},
        {"FrameStartTick", &FrameStartTick, 0, AnyTick},
        {"Paused", &Paused, 0, Flag},
        {"PauseStartTick", &PauseStartTick, 0, AnyTick},
        {"HiScore", &HiScore, 0, ScoreWrap},
        {"Sound", &Sound, 0, 64},
        {"VolumeCounter", &VolumeCounter, 0, 320},
        {"Score", &Score, 0, ScoreWrap},
        {"Level", &Level, 0, LastLevel},
        {"DotsEaten", &DotsEaten, 0, 244},
        {"StepInterval", &StepInterval, 0, 1000},
        {"FruitCount", &FruitCount, 0, 2},
        {"FruitShown", &FruitShown, 0, Flag},
        {"FruitUntil", &FruitUntil, 0, AnyTick},
        {"FruitPointsUntil", &FruitPointsUntil, 0, AnyTick},
        {"GhostPointsUntil", &GhostPointsUntil, 0, AnyTick},
        {"FruitDuration", &FruitDuration, 0, 60000},
        {"GhostPointsX", &GhostPointsX, PlaceLo, PlaceHi},
        {"GhostPointsY", &GhostPointsY, PlaceLo, PlaceHi},
        {"FrightActive", &FrightActive, 0, Flag},
        {"FrightEnd", &FrightEnd, 0, AnyTick},
        {"FrightDuration", &FrightDuration, -60000, 60000},
        {"GhostsEaten", &GhostsEaten, 0, 8},
        {"BlinkTick", &BlinkTick, 0, AnyTick},
        {"BlinkPhase", &BlinkPhase, 0, Flag},
        {"ScatterTimer", &ScatterTimer, 0, AnyTick},
        {"SceneDirection", &SceneDirection, -1, 1},
        {"SceneStarted", &SceneStarted, 0, Flag},
        {"TearCounter", &TearCounter, 0, 4095},
        {"ScenePlayerX", &ScenePlayerX, PlaceLo, PlaceHi},
        {"ScenePlayerY", &ScenePlayerY, PlaceLo, PlaceHi},
        {"ScenePlayerFrame", &ScenePlayerFrame, 0, 17},
        {"ChompOn", &ChompOn, 0, Flag},
        {"FrightLoopOn", &FrightLoopOn, 0, Flag},
        {"EyesLoopOn", &EyesLoopOn, 0, Flag},
        {"SoundClosed", &SoundClosed, 0, Flag},
        {"Player.x", &Player.x, PlaceLo, PlaceHi},
        {"Player.y", &Player.y, PlaceLo, PlaceHi},
        {"Player.state", &Player.state, PlayerLost, PlayerReady},
        {"Player.dir", &Player.dir, 0, 4},
        {"Player.frame", &Player.frame, 0, 10},
        {"Player.wantLeft", &Player.wantLeft, 0, Flag},
        {"Player.wantRight", &Player.wantRight, 0, Flag},
        {"Player.wantUp", &Player.wantUp, 0, Flag},
        {"Player.wantDown", &Player.wantDown, 0, Flag},
        {"Player.lives", &Player.lives, 0, 6},
        {"Player.nextStep", &Player.nextStep, 0, AnyTick},
        {"Player.deathSoundDone", &Player.deathSoundDone, 0, Flag},
    };
    for (int g = 0; g < 4; ++g) {
        GhostRecord& gh = Ghosts[g];
        const std::string p = "Ghost" + std::to_string(g + 1) + ".";
        for (Field f : std::initializer_list<Field>{
                 {"x", &gh.x, PlaceLo, PlaceHi},
                 {"y", &gh.y, PlaceLo, PlaceHi},
                 {"mode", &gh.mode, Eyes, Frightened},
                 {"dir", &gh.dir, 0, 4},
                 {"targetX", &gh.targetX, PlaceLo, PlaceHi},
                 {"targetY", &gh.targetY, PlaceLo, PlaceHi},
                 {"homeX", &gh.homeX, PlaceLo, PlaceHi},
                 {"homeY", &gh.homeY, PlaceLo, PlaceHi},
                 {"extraDelay", &gh.extraDelay, 0, 1000},
                 {"chasing", &gh.chasing, 0, Flag},
                 {"inHouse", &gh.inHouse, 0, Flag},
                 {"inTunnel", &gh.inTunnel, 0, Flag},
                 {"nextStep", &gh.nextStep, 0, AnyTick},
             }) {
            f.name = p + f.name;
            t.push_back(f);
        }
    }
    // Kept since after the first replays were written: one without it takes it from the
    // frame tick, as the program that wrote it did (ApplyWorld).
    t.push_back({"FrameStarted", &FrameStarted, 0, Flag});
    return t;
}

// The values from here to the table's end are newer than the first replays, which lack them.
constexpr const char* FirstOptional = "FrameStarted";

const std::vector<Field>& Table() {
    static const std::vector<Field> table = MakeTable();
    return table;
}

const std::unordered_map<std::string, int>& Index() {
    static const std::unordered_map<std::string, int> index = [] {
        std::unordered_map<std::string, int> made;
        for (size_t i = 0; i < Table().size(); ++i) made.emplace(Table()[i].name, int(i));
        return made;
    }();
    return index;
}

int64_t Read(const Place& place) {
    return std::visit([](auto* p) { return int64_t(*p); }, place);
}

}  // namespace

std::vector<int64_t> WorldNumbers() {
    std::vector<int64_t> numbers;
    numbers.reserve(Table().size());
    for (const Field& f : Table()) numbers.push_back(Read(f.place));
    return numbers;
}

WorldValues NameWorld(const std::vector<int64_t>& numbers) {
    WorldValues values;
    for (size_t i = 0; i < numbers.size() && i < Table().size(); ++i) values.emplace_back(Table()[i].name, numbers[i]);
    return values;
}

int WorldIndex(const std::string& name) {
    auto it = Index().find(name);
    return it == Index().end() ? -1 : it->second;
}

bool WorldValueFits(int index, int64_t value) {
    if (uint32_t(index) >= Table().size()) return false;
    const Field& f = Table()[size_t(index)];
    return value >= f.lo && value <= f.hi;
}

std::string WorldRange(int index) {
    if (uint32_t(index) >= Table().size()) return "";
    const Field& f = Table()[size_t(index)];
    return std::to_string(f.lo) + " to " + std::to_string(f.hi);
}

bool WorldValueOptional(int index) { return index >= WorldIndex(FirstOptional); }

void ApplyWorld(const WorldValues& values) {
    bool sawStarted = false;
    for (const auto& [name, value] : values) {
        sawStarted = sawStarted || name == FirstOptional;
        int index = WorldIndex(name);
        if (!WorldValueFits(index, value)) continue;
        std::visit([v = value](auto* p) { *p = static_cast<std::remove_pointer_t<decltype(p)>>(v); },
                   Table()[size_t(index)].place);
    }
    // A world written before FrameStarted was kept: a frame had run when its tick was not 0.
    if (!sawStarted) FrameStarted = FrameStartTick != 0;
}

size_t WorldSize() { return Table().size(); }

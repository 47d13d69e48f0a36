// The table of the game's globals that a replay puts back.
#include "app/replay_world.h"
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

struct Field {
    std::string name;
    Place place;
};

std::vector<Field> MakeTable() {
    std::vector<Field> t = {
        {"GamePhase", &GamePhase},
        {"PhaseTimer", &PhaseTimer},
        {"LevelClearEnd", &LevelClearEnd},
        {"AnimCounter", &AnimCounter},
        {"FlashCounter", &FlashCounter},
        {"SceneIndex", &SceneIndex},
        {"FrameStartTick", &FrameStartTick},
        {"Paused", &Paused},
        {"PauseStartTick", &PauseStartTick},
        {"HiScore", &HiScore},
        {"Sound", &Sound},
        {"VolumeCounter", &VolumeCounter},
        {"Score", &Score},
        {"Level", &Level},
        {"DotsEaten", &DotsEaten},
        {"StepInterval", &StepInterval},
        {"FruitCount", &FruitCount},
        {"FruitShown", &FruitShown},
        {"FruitUntil", &FruitUntil},
        {"FruitPointsUntil", &FruitPointsUntil},
        {"GhostPointsUntil", &GhostPointsUntil},
        {"FruitDuration", &FruitDuration},
        {"GhostPointsX", &GhostPointsX},
        {"GhostPointsY", &GhostPointsY},
        {"FrightActive", &FrightActive},
        {"FrightEnd", &FrightEnd},
        {"FrightDuration", &FrightDuration},
        {"GhostsEaten", &GhostsEaten},
        {"BlinkTick", &BlinkTick},
        {"BlinkPhase", &BlinkPhase},
        {"ScatterTimer", &ScatterTimer},
        {"SceneDirection", &SceneDirection},
        {"SceneStarted", &SceneStarted},
        {"TearCounter", &TearCounter},
        {"ScenePlayerX", &ScenePlayerX},
        {"ScenePlayerY", &ScenePlayerY},
        {"ScenePlayerFrame", &ScenePlayerFrame},
        {"ChompOn", &ChompOn},
        {"FrightLoopOn", &FrightLoopOn},
        {"EyesLoopOn", &EyesLoopOn},
        {"SoundClosed", &SoundClosed},
        {"Player.x", &Player.x},
        {"Player.y", &Player.y},
        {"Player.state", &Player.state},
        {"Player.dir", &Player.dir},
        {"Player.frame", &Player.frame},
        {"Player.wantLeft", &Player.wantLeft},
        {"Player.wantRight", &Player.wantRight},
        {"Player.wantUp", &Player.wantUp},
        {"Player.wantDown", &Player.wantDown},
        {"Player.lives", &Player.lives},
        {"Player.nextStep", &Player.nextStep},
        {"Player.deathSoundDone", &Player.deathSoundDone},
    };
    for (int g = 0; g < 4; ++g) {
        GhostRecord& gh = Ghosts[g];
        const std::string p = "Ghost" + std::to_string(g + 1) + ".";
        for (Field f : std::initializer_list<Field>{
                 {"x", &gh.x},
                 {"y", &gh.y},
                 {"mode", &gh.mode},
                 {"dir", &gh.dir},
                 {"targetX", &gh.targetX},
                 {"targetY", &gh.targetY},
                 {"homeX", &gh.homeX},
                 {"homeY", &gh.homeY},
                 {"extraDelay", &gh.extraDelay},
                 {"chasing", &gh.chasing},
                 {"inHouse", &gh.inHouse},
                 {"inTunnel", &gh.inTunnel},
                 {"nextStep", &gh.nextStep},
             }) {
            f.name = p + f.name;
            t.push_back(f);
        }
    }
    return t;
}

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

bool Fits(const Place& place, int64_t v) {
    if (std::holds_alternative<int32_t*>(place)) return v >= INT32_MIN && v <= INT32_MAX;
    if (std::holds_alternative<uint32_t*>(place)) return v >= 0 && v <= UINT32_MAX;
    return v >= 0 && v <= UINT8_MAX;
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
    return uint32_t(index) < Table().size() && Fits(Table()[size_t(index)].place, value);
}

void ApplyWorld(const WorldValues& values) {
    for (const auto& [name, value] : values) {
        int index = WorldIndex(name);
        if (!WorldValueFits(index, value)) continue;
        std::visit([v = value](auto* p) { *p = static_cast<std::remove_pointer_t<decltype(p)>>(v); },
                   Table()[size_t(index)].place);
    }
}

size_t WorldSize() { return Table().size(); }

// The message loop run headless: frame pacing on the virtual clock, the volume keys,
// the single-instance rule, and runs that repeat byte for byte.
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>
#include "app/entry.h"
#include "app/global_objects.h"
#include "app/settings.h"
#include "app/volume_keys.h"
#include "game/game_sounds.h"
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"
#include "platform/window.h"
#include "run/program_run.h"
#include "sound/sound_system.h"
#include "tests/support/headless_here.h"

namespace {
struct Pass {
    uint32_t tick;
    FrameKind kind;
    UINT message;
};

std::vector<Pass> RunPasses(const std::string& script, uint64_t frames) {
    std::string path = ::testing::TempDir() + "loop_script.txt";
    std::ofstream(path) << script;
    CommandLine cl;
    cl.headless = true;
    cl.script = path;
    cl.frames = frames;
    std::vector<Pass> passes;
    OnPassEnd = [&](const PassInfo& p) { passes.push_back({p.tick, p.kind, p.msg->message}); };
    EXPECT_EQ(RunHeadlessHere(cl), 0);
    OnPassEnd = nullptr;
    return passes;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
}  // namespace

TEST(Pacing, FormulaAsWritten) {
    EXPECT_EQ(PacingSleep(1000, 1000, true), 11u) << "elapsed is raised to 1";
    EXPECT_EQ(PacingSleep(1001, 1000, true), 11u);
    EXPECT_EQ(PacingSleep(1005, 1000, true), 7u);
    EXPECT_EQ(PacingSleep(1011, 1000, true), 1u);
    EXPECT_EQ(PacingSleep(1012, 1000, true), 1u);
    EXPECT_EQ(PacingSleep(1015, 1000, true), 1u) << "a 15 ms frame is followed by a 1 ms sleep";
    EXPECT_EQ(PacingSleep(999, 1000, true), 11u) << "a frame start in the future counts as 1 ms";
    EXPECT_EQ(PacingSleep(5, 0xFFFFFFFEu, true), 5u) << "the tick count wraps";
    EXPECT_EQ(PacingSleep(0x90000000u, 0, false), 1u) << "before the first game frame the title never waits 11 ms";
    EXPECT_EQ(PacingSleep(1, 0, true), 11u) << "a game frame at tick 0, once the clock has wrapped, is a frame";
}

TEST(Pacing, InGameFramesElevenMsApartTitlePassesAboutTwo) {
    std::vector<Pass> passes = RunPasses("300 tap RETURN\n", 500);
    ASSERT_EQ(passes.size(), 500u);
    // Title passes before the key: a 1 ms sleep, then the next 2 ms timer.
    int titleGaps = 0;
    for (size_t i = 1; i < passes.size() && passes[i].kind == FrameKind::Title; ++i) {
        uint32_t gap = passes[i].tick - passes[i - 1].tick;
        EXPECT_LE(gap, 2u);
        EXPECT_GE(gap, 1u);
        ++titleGaps;
    }
    EXPECT_GT(titleGaps, 5);
    // Consecutive in-game frames, each driven by a timer message, start 11 ms apart.
    int gameGaps = 0;
    for (size_t i = 1; i < passes.size(); ++i) {
        if (passes[i].kind != FrameKind::Game || passes[i - 1].kind != FrameKind::Game) continue;
        if (passes[i].message != WM_TIMER) continue;
        EXPECT_EQ(passes[i].tick - passes[i - 1].tick, 11u) << "pass " << i;
        ++gameGaps;
    }
    EXPECT_GT(gameGaps, 300);
}

TEST(VolumeKeys, CounterArithmetic) {
    UseHeadlessBackend();
    ConstructGlobalObjects();
    ResetKeyStates();
    auto press = [](int vk, int passes) {
        KeyEvent(vk, true);
        for (int i = 0; i < passes; ++i) ApplyVolumeKeys();
        KeyEvent(vk, false);
        GetAsyncKeyState(vk);
    };
    Sound = 16;
    VolumeCounter = 80;
    press(VK_F6, 5);
    EXPECT_EQ(VolumeCounter, 85);
    EXPECT_EQ(Sound, 17) << "five passes held make one step";
    VolumeCounter = 320;
    press(VK_F6, 3);
    EXPECT_EQ(VolumeCounter, 320);
    EXPECT_EQ(Sound, 64);
    VolumeCounter = 0;
    press(VK_F7, 2);
    EXPECT_EQ(VolumeCounter, 0);
    EXPECT_EQ(Sound, 0);
    // A stored Sound of 100: the first volume-up press drops to the top...
    Sound = 100;
    VolumeCounter = 500;
    press(VK_F6, 1);
    EXPECT_EQ(VolumeCounter, 320);
    EXPECT_EQ(Sound, 64);
    // ...while volume down walks down one step a pass.
    Sound = 100;
    VolumeCounter = 500;
    std::vector<int> sounds;
    KeyEvent(VK_F7, true);
    for (int i = 0; i < 6; ++i) {
        ApplyVolumeKeys();
        sounds.push_back(Sound);
    }
    KeyEvent(VK_F7, false);
    EXPECT_EQ(sounds, (std::vector<int>{99, 99, 99, 99, 99, 98}));
    EXPECT_EQ(Mixer.GetSampleMasterVolume(), 64u) << "an out-of-range volume plays at 64";
    // Both keys in one pass: up first, then down.
    Sound = 16;
    VolumeCounter = 80;
    KeyEvent(VK_F6, true);
    KeyEvent(VK_F7, true);
    ApplyVolumeKeys();
    EXPECT_EQ(VolumeCounter, 80);
    ResetKeyStates();
    DestroyGlobalObjects();
    SetBackend(nullptr);
    Sound = 16;
}

namespace {
// A headless backend that finds another copy running.
class OtherCopyRunning : public HeadlessBackend {
public:
    bool OtherInstanceRunning(const std::string& title) override {
        askedTitle = title;
        return true;
    }
    bool CreateGameWindow(const std::string&) override {
        windowMade = true;
        return true;
    }
    std::string askedTitle;
    bool windowMade = false;
};
}  // namespace

TEST(SingleInstance, SecondCopyExitsWithoutTouchingAnything) {
    OtherCopyRunning backend;
    SetBackend(&backend);
    ResetWindowState();
    ConstructGlobalObjects();
    HiScore = 4321;
    EXPECT_EQ(GameEntry(nullptr, nullptr, L"", SW_SHOW), 0);
    EXPECT_EQ(backend.askedTitle, "glimmo") << "the title comes from string 1";
    EXPECT_FALSE(backend.windowMade);
    EXPECT_EQ(GameWindow(), nullptr);
    EXPECT_EQ(HiScore, 4321) << "no settings were read";
    DestroyGlobalObjects();
    SetBackend(nullptr);
    HiScore = 0;
}

// A fresh process each time, as players and bug reports run it.
TEST(Determinism, SameCommandLineSameBytes) {
    std::string dir = ::testing::TempDir();
    std::string script = dir + "det_script.txt";
    std::ofstream(script) << "100 tap RETURN\n3000 down LEFT\n5200 up LEFT\n5200 down UP\n";
    std::string outputs[2][3];
    for (int run = 0; run < 2; ++run) {
        std::string n = std::to_string(run);
        std::string log = dir + "det_log" + n, audio = dir + "det_audio" + n + ".wav",
                    shot = dir + "det_shot" + n + ".png";
        std::string cmd = std::string(GLIMMO_EXE) + " --headless --script " + script +
                          " --until-tick 9000 --state-log " + log + " --audio-out " + audio +
                          " --screenshot 700:" + shot;
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        outputs[run][0] = ReadAll(log);
        outputs[run][1] = ReadAll(audio);
        outputs[run][2] = ReadAll(shot);
    }
    EXPECT_GT(outputs[0][0].size(), 1000u);
    // Nine seconds of 22050 Hz stereo, less what had not finished playing when the run stopped.
    EXPECT_LE(outputs[0][1].size(), 44u + 22050u * 2u * 9u);
    EXPECT_GE(outputs[0][1].size(), 44u + 22050u * 2u * 9u - 2u * 588u * 5u);
    EXPECT_GT(outputs[0][2].size(), 100u);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(outputs[0][i] == outputs[1][i]) << "output " << i << " differs";
}

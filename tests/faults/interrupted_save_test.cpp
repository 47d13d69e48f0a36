// A save cut short by a kill: a child saves the settings over and over, read meanwhile and
// killed at a random moment; the file seen or left behind is always the old or a new one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include "platform/registry.h"
#include "platform/registry_store.h"
#include "tests/support/run_glimmo.h"

namespace {
const std::string GameKey = "Software\\brix\\glimmo";

RegistryValue Dword(uint32_t v) {
    return RegistryValue{REG_DWORD, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}};
}

// Each save writes the count as the best score, with a long value beside it so a
// write takes long enough to be caught in the middle.
[[noreturn]] void SaveForever(const std::string& folder) {
    SetRegistryFolder(folder);
    RegistryTree& tree = LoadedRegistry();
    tree[GameKey]["Padding"] = RegistryValue{REG_BINARY, std::vector<uint8_t>(48 * 1024, 0xA5)};
    for (uint32_t count = 1;; ++count) {
        tree[GameKey]["HiScore"] = Dword(count);
        SaveRegistry();
    }
}
}  // namespace

TEST(InterruptedSave, TheFileIsTheOldOrTheNewNeverABrokenOne) {
    ScratchFolder scratch("killed-save");
    const std::string file = SettingsFileIn(scratch.Path());
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayUs(2000, 60000);
    int rounds = 0, sawSaves = 0, looks = 0;
    uint32_t last = 0;
    // On a slow machine (a sanitizer build on a busy host) the first save can take longer
    // than the longest random delay: until one is seen, each round waits longer.
    std::chrono::microseconds patience{0};
    for (; rounds < 25; ++rounds) {
        SCOPED_TRACE("round " + std::to_string(rounds));
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForever(scratch.Path());
        // While it saves, every look at the file finds it whole: a save never rewrites it in place.
        auto killAt = std::chrono::steady_clock::now() + std::chrono::microseconds(delayUs(random)) + patience;
        while (std::chrono::steady_clock::now() < killAt) {
            if (!Exists(file)) continue;
            bool whole = false;
            ParseRegistryText(ReadWholeFile(file), &whole);
            if (!whole) {
                kill(child, SIGKILL);
                waitpid(child, nullptr, 0);
                FAIL() << "a reader found the file half-written while it was being saved";
            }
            ++looks;
        }
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        if (!Exists(file)) {
            ASSERT_EQ(last, 0u) << "a saved file never disappears";
            patience = std::min(2 * patience + std::chrono::milliseconds(50), std::chrono::microseconds(5000000));
            continue;
        }
        bool complete = false;
        RegistryTree tree = ParseRegistryText(ReadWholeFile(file), &complete);
        ASSERT_TRUE(complete) << "a broken file was left behind";
        ASSERT_EQ(tree[GameKey].count("HiScore"), 1u);
        const auto& d = tree[GameKey]["HiScore"].data;
        ASSERT_EQ(d.size(), 4u);
        ++sawSaves;
        last = uint32_t(d[0]) | uint32_t(d[1]) << 8 | uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24;
        EXPECT_GE(last, 1u);
        EXPECT_EQ(tree[GameKey]["Padding"].data.size(), 48u * 1024);
        // The next start reads it whole, whatever temporary file the kill left.
        SetRegistryFolder(scratch.Path());
        EXPECT_EQ(LoadedRegistry()[GameKey].count("HiScore"), 1u);
        EXPECT_FALSE(Exists(file + ".bad"));
    }
    EXPECT_GT(sawSaves, 0) << "no save finished in any round: the test proved nothing";
    EXPECT_GT(looks, 0);
}

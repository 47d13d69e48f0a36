// The settings file gone wrong, seen by a player running the real program: damaged,
// empty, cut short, endless, huge, unreadable, a pipe or a folder in its place, or a
// folder that cannot be written. The game always plays and quits normally; a damaged
// file is kept aside.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include "platform/registry_store.h"
#include "tests/support/run_glimmo.h"
#include "tests/support/saved_settings.h"

namespace {
constexpr unsigned Nobody = 65534;
const std::string Header = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\brix\\glimmo]\n";

// A headless game that sits on the title screen and is quit with the back key, which saves.
ProgramResult PlayAndQuit(const ScratchFolder& scratch, const std::string& configDir,
                          std::optional<unsigned> user = std::nullopt, unsigned timeoutSeconds = 60) {
    WriteWholeFile(scratch / "quit.txt", "500 tap ESCAPE\n");
    ProgramSetup setup;
    setup.args = {"--headless", "--until-tick",       "5000",        "--config-dir",         configDir,
                  "--script",   scratch / "quit.txt", "--state-log", scratch / "state.jsonl"};
    setup.runAsUser = user;
    setup.timeoutSeconds = timeoutSeconds;
    return RunGlimmo(setup);
}

// The best score the game had in mind on its last pass, from the state log.
std::string LastHiScore(const ScratchFolder& scratch) {
    std::string log = ReadWholeFile(scratch / "state.jsonl");
    size_t at = log.rfind("\"hiscore\":");
    if (at == std::string::npos) return "none";
    at += 10;
    return log.substr(at, log.find_first_of(",}", at) - at);
}
}  // namespace

TEST(SettingsFileFaults, DamagedFilesAreKeptAsideAndWhatCouldBeReadIsKept) {
    struct Case {
        const char* what;
        std::string bytes;
        int64_t hiScore;  // what the game shows and saves afterwards
    };
    const Case cases[] = {
        {"garbage after a good value", Header + "\"HiScore\"=dword:00001388\n\x01\x02 not a setting\n", 5000},
        {"empty", "", 0},
        {"cut short in a line", Header + "\"HiScore\"=dword:00000fa0\n\"Sound\"=dwo", 4000},
        {"binary noise", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 0},
        {"first line wrong",
         "Windows Registry Editor Version 5.00\n" + Header.substr(9) + "\"HiScore\"=dword:00000064\n", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch("damaged");
        const std::string file = SettingsFileIn(scratch.Path());
        WriteWholeFile(file, c.bytes);
        ProgramResult run = PlayAndQuit(scratch, scratch.Path());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
        EXPECT_NE(run.err.find("kept aside"), std::string::npos) << run.err;
        EXPECT_EQ(ReadWholeFile(file + ".bad"), c.bytes) << "the damaged file is kept as it was";
        EXPECT_EQ(LastHiScore(scratch), std::to_string(c.hiScore));
        SavedValues saved = ReadSaved(file);
        EXPECT_TRUE(saved.complete) << ReadWholeFile(file);
        EXPECT_EQ(saved.hiScore, c.hiScore);
        EXPECT_EQ(saved.sound, 16);
    }
}

// A settings file that never ends, one far too large for settings, or a pipe in its place
// is kept aside at once, and the game starts on the defaults.
TEST(SettingsFileFaults, EndlessHugeOrSpecialFilesAreKeptAsideAtOnce) {
    std::string huge = Header + "\"HiScore\"=dword:00001388\n";
    while (huge.size() <= 2u << 20) huge += "; a comment line, again and again, to make the file two megabytes\n";
    const char* cases[] = {"a link to /dev/zero", "a named pipe nobody writes to", "two megabytes"};
    for (const char* what : cases) {
        SCOPED_TRACE(what);
        ScratchFolder scratch("endless");
        const std::string file = SettingsFileIn(scratch.Path());
        if (what == cases[0]) {
            ASSERT_EQ(symlink("/dev/zero", file.c_str()), 0);
        } else if (what == cases[1]) {
            ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
        } else {
            WriteWholeFile(file, huge);
        }
        ProgramResult run = PlayAndQuit(scratch, scratch.Path(), std::nullopt, 20);
        EXPECT_FALSE(run.timedOut) << "start-up hung";
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.ErrLines().size(), 1u) << run.err;
        EXPECT_NE(run.err.find("kept aside"), std::string::npos) << run.err;
        EXPECT_EQ(LastHiScore(scratch), "0");
        if (what == cases[2]) {
            EXPECT_TRUE(ReadWholeFile(file + ".bad") == huge) << "the file is not kept as it was";
        }
        struct stat st {};
        if (lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            ADD_FAILURE() << "no plain settings file in its place";
            continue;
        }
        SavedValues saved = ReadSaved(file);
        EXPECT_TRUE(saved.complete);
        EXPECT_EQ(saved.hiScore, 0);
    }
}

TEST(SettingsFileFaults, AGoodFileIsReadAndRewrittenWithoutAWord) {
    ScratchFolder scratch("good");
    WriteWholeFile(SettingsFileIn(scratch.Path()), Header + "\"HiScore\"=dword:00002710\n\"Sound\"=dword:00000020\n");
    ProgramResult run = PlayAndQuit(scratch, scratch.Path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(LastHiScore(scratch), "10000");
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Path()))
        EXPECT_NE(entry.path().filename().string().rfind("glimmo.reg.", 0), 0u) << "left behind: " << entry.path();
    SavedValues saved = ReadSaved(SettingsFileIn(scratch.Path()));
    EXPECT_TRUE(saved.complete);
    EXPECT_EQ(saved.hiScore, 10000);
    EXPECT_EQ(saved.sound, 32);
}

TEST(SettingsFileFaults, AFolderWhereTheFileShouldBeIsMovedAsideAndTheGamePlays) {
    // Not even root can read a folder as a settings file.
    ScratchFolder scratch("folder-in-place");
    ASSERT_EQ(mkdir((SettingsFileIn(scratch.Path())).c_str(), 0700), 0);
    ProgramResult run = PlayAndQuit(scratch, scratch.Path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.ErrLines().size(), 1u) << run.err;
    EXPECT_EQ(LastHiScore(scratch), "0");
    SavedValues saved = ReadSaved(SettingsFileIn(scratch.Path()));
    EXPECT_TRUE(saved.complete);
    EXPECT_EQ(saved.sound, 16);
}

TEST(SettingsFileFaults, AnUnreadableFileIsKeptAsideNotOverwritten) {
    ScratchFolder scratch("unreadable");
    const std::string folder = scratch / "config";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string file = SettingsFileIn(folder);
    const std::string bytes = Header + "\"HiScore\"=dword:00003039\n";
    WriteWholeFile(file, bytes);
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
    std::optional<unsigned> user;
    if (geteuid() == 0) {
        // Root reads anything: the program runs as an ordinary user instead.
        ASSERT_EQ(chown(folder.c_str(), Nobody, Nobody), 0);
        ASSERT_EQ(chown(file.c_str(), Nobody, Nobody), 0);
        ASSERT_EQ(chown(scratch.Path().c_str(), Nobody, Nobody), 0);  // for the state log
        user = Nobody;
    }
    ProgramResult run = PlayAndQuit(scratch, folder, user);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("kept aside"), std::string::npos) << run.err;
    chmod((file + ".bad").c_str(), 0600);
    EXPECT_EQ(ReadWholeFile(file + ".bad"), bytes) << "the player's best score is still there to rescue";
    SavedValues saved = ReadSaved(file);
    EXPECT_TRUE(saved.complete);
    EXPECT_EQ(saved.hiScore, 0);
}

TEST(SettingsFileFaults, AFolderThatCannotBeMadeCostsOneLineAndNothingElse) {
    ScratchFolder scratch("cannot-make");
    WriteWholeFile(scratch / "a-file", "in the way\n");
    ProgramResult run = PlayAndQuit(scratch, scratch / "a-file/glimmo");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.ErrLines().size(), 1u) << "said once, though the game saves more than once:\n" << run.err;
    EXPECT_NE(run.err.find("will not be kept"), std::string::npos) << run.err;
    EXPECT_EQ(ReadWholeFile(scratch / "a-file"), "in the way\n");
}

TEST(SettingsFileFaults, AReadOnlyFolderKeepsTheOldFileAndItsValuesAreStillUsed) {
    ScratchFolder scratch("read-only");
    const std::string folder = scratch / "config";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string bytes = Header + "\"HiScore\"=dword:00000bb8\n\"Sound\"=dword:00000008\n";
    WriteWholeFile(SettingsFileIn(folder), bytes);
    std::optional<unsigned> user;
    if (geteuid() == 0) {
        ASSERT_EQ(chown((SettingsFileIn(folder)).c_str(), Nobody, Nobody), 0);
        ASSERT_EQ(chown(scratch.Path().c_str(), Nobody, Nobody), 0);
        user = Nobody;
    }
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    ProgramResult run = PlayAndQuit(scratch, folder, user);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("will not be kept"), std::string::npos) << run.err;
    EXPECT_EQ(LastHiScore(scratch), "3000");
    EXPECT_EQ(ReadWholeFile(SettingsFileIn(folder)), bytes);
}

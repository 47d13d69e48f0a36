// The headless harness given hostile inputs and outputs: scripts that never end or are
// not files, outputs that cannot be written, no temporary folder, a signal half-way.
// Each is refused or reported in one line, with a non-zero exit, and leaves nothing behind.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include "tests/support/run_glimmo.h"

namespace {
ProgramResult Headless(std::vector<std::string> args, const ProgramSetup& base = {}) {
    ProgramSetup setup = base;
    setup.args = {"--headless"};
    setup.args.insert(setup.args.end(), args.begin(), args.end());
    return RunGlimmo(setup);
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}
}  // namespace

TEST(HarnessFaults, ScriptsAreReadWithinBoundsAndMustBeFiles) {
    ScratchFolder scratch("script-bounds");
    // Five megabytes of blank lines: more than any script needs.
    WriteWholeFile(scratch / "long.txt", std::string(5 << 20, '\n'));
    for (const std::string& script : {scratch / "long.txt", std::string("/dev/zero"), scratch.Path()}) {
        SCOPED_TRACE(script);
        ProgramResult run = Headless({"--frames", "3", "--config-dir", scratch.Path(), "--script", script});
        EXPECT_EQ(run.exitCode, 2) << run.err;
        ExpectOneLineAbout(run, "glimmo", "script " + script);
    }
}

TEST(HarnessFaults, OutputsThatCannotBeWrittenAreRefusedBeforeTheRun) {
    ScratchFolder scratch("outputs-first");
    const std::string log = scratch / "state.jsonl";
    const std::vector<std::vector<std::string>> cases = {
        {"--audio-out", scratch / "no-such-folder/run.wav"},
        {"--audio-out", scratch.Path()},
        {"--screenshot", "3:" + scratch / "no-such-folder/shot.png"},
    };
    for (const auto& output : cases) {
        SCOPED_TRACE(output[1]);
        std::vector<std::string> args = {"--until-tick", "600000",       "--autopilot", "1",
                                         "--config-dir", scratch.Path(), "--state-log", log};
        args.insert(args.end(), output.begin(), output.end());
        ProgramResult run = Headless(args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        ExpectOneLineAbout(run, "glimmo", "cannot write");
        EXPECT_FALSE(Exists(log)) << "the run started all the same";
    }
}

TEST(HarnessFaults, AFailedWriteIsOneLineAndExitOne) {
    ScratchFolder scratch("full-disk");
    for (const std::vector<std::string>& output : std::vector<std::vector<std::string>>{
             {"--state-log", "/dev/full"}, {"--screenshot", "3:/dev/full"}, {"--audio-out", "/dev/full"}}) {
        SCOPED_TRACE(output[0]);
        std::vector<std::string> args = {"--until-tick", "20000", "--config-dir", scratch.Path()};
        args.insert(args.end(), output.begin(), output.end());
        ProgramResult run = Headless(args);
        EXPECT_EQ(run.exitCode, 1) << run.err;
        ExpectOneLineAbout(run, "glimmo", "/dev/full");
    }
}

TEST(HarnessFaults, NoTemporaryFolderNoRunAndAStrangersSettingsUntouched) {
    ScratchFolder scratch("no-temp");
    // Someone else's settings where the run would have put its own.
    const std::string stranger =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\brix\\glimmo]\n\"HiScore\"=dword:0000d431\n";
    WriteWholeFile(scratch / "glimmo.reg", stranger);
    WriteWholeFile(scratch / "glimmo.reg.bad", "kept aside\n");
    ProgramSetup setup;
    setup.privateTmp = scratch.Path();
    setup.privateTmpReadOnly = true;
    setup.env = {{"TMPDIR", std::nullopt}};
    ProgramResult run = Headless({"--frames", "5", "--state-log", "/dev/stdout"}, setup);
    if (run.exitCode == NoPrivateTmp) GTEST_SKIP() << "no mount namespace to be had here";
    EXPECT_EQ(run.exitCode, 2) << run.err;
    ExpectOneLineAbout(run, "glimmo", "temporary folder");
    EXPECT_TRUE(run.out.empty()) << "the run went on in /tmp itself: " << run.out.substr(0, 160);
    EXPECT_EQ(ReadWholeFile(scratch / "glimmo.reg"), stranger);
    EXPECT_EQ(ReadWholeFile(scratch / "glimmo.reg.bad"), "kept aside\n");
}

TEST(HarnessFaults, ASignalEndsTheRunWithWholeFilesAndNoLitter) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        ScratchFolder scratch("signal");
        ProgramSetup setup;
        setup.privateTmp = scratch.Path();
        setup.env = {{"TMPDIR", std::nullopt}};
        setup.terminateAfterMs = 800;
        setup.terminateOnceExists = scratch / "state.jsonl";
        setup.terminateSignal = signal;
        // A day of autopilot play: far more than the time it is given.
        ProgramResult run = Headless({"--autopilot", "3", "--until-tick", "86400000", "--state-log", "/tmp/state.jsonl",
                                      "--audio-out", "/tmp/run.wav"},
                                     setup);
        if (run.exitCode == NoPrivateTmp) GTEST_SKIP() << "no mount namespace to be had here";
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 128 + signal) << run.err;
        EXPECT_EQ(run.err, "");
        std::vector<std::string> left = Entries(scratch.Path());
        std::erase_if(left, [](const std::string& n) { return n == "state.jsonl" || n == "run.wav"; });
        EXPECT_TRUE(left.empty()) << "left behind in /tmp: " << left.front();
        const std::string log = ReadWholeFile(scratch / "state.jsonl");
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), '\n') << "the last line ends mid-way: ..." << log.substr(log.size() - 40);
        const std::string wav = ReadWholeFile(scratch / "run.wav");
        ASSERT_GT(wav.size(), 44u) << "no sound written";
        EXPECT_EQ(uint8_t(wav[40]) | uint8_t(wav[41]) << 8 | uint8_t(wav[42]) << 16 | uint32_t(uint8_t(wav[43])) << 24,
                  wav.size() - 44)
            << "the WAV header does not count the sound written";
    }
}

// --record keeps games only in a regular file (through a link, which stays a link) or a
// new name in a folder that is there: a device, a pipe, another file of the run, or a
// folder to be made is refused before the run; a write that fails later is exit code 1.
TEST(HarnessFaults, RecordKeepsGamesOnlyWhereNothingIsLost) {
    ScratchFolder scratch("record-where");
    const std::string script = scratch / "keys.txt", log = scratch / "state.jsonl", cfg = scratch / "cfg";
    WriteWholeFile(script, "100 tap RETURN\n");
    WriteWholeFile(log, "old log\n");
    mkdir(cfg.c_str(), 0700);
    WriteWholeFile(cfg + "/best.replay", "kept\n");
    ASSERT_EQ(mkfifo((scratch / "pipe").c_str(), 0600), 0);
    std::vector<std::vector<std::string>> refused = {
        {scratch / "pipe"},
        {script, "--script", script},
        {scratch / "." + "/state.jsonl", "--state-log", log},
        {cfg + "/glimmo.reg", "--config-dir", cfg},
        {cfg + "/../cfg/best.replay", "--config-dir", cfg},
        {scratch / "missing/game.replay"},
        {script + "/game.replay"},
    };
    // A device of the test's own (as root): a build with the fault would replace it, not /dev/null.
    if (mknod((scratch / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) refused.push_back({scratch / "null"});
    for (const auto& c : refused) {
        SCOPED_TRACE(c[0]);
        std::vector<std::string> args = {"--frames", "300", "--record", c[0]};
        args.insert(args.end(), c.begin() + 1, c.end());
        if (c.size() == 1 || c[1] != "--script") args.insert(args.end(), {"--autopilot", "1"});
        ProgramResult run = Headless(args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        ExpectOneLineAbout(run, "glimmo", "cannot keep the games in " + c[0]);
    }
    struct stat st {};
    EXPECT_TRUE(stat((scratch / "pipe").c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) << "the pipe was replaced";
    EXPECT_EQ(ReadWholeFile(script), "100 tap RETURN\n");
    EXPECT_EQ(ReadWholeFile(log), "old log\n");
    EXPECT_EQ(ReadWholeFile(cfg + "/best.replay"), "kept\n");
    EXPECT_FALSE(Exists(scratch / "missing")) << "a folder was made";

    WriteWholeFile(scratch / "real.replay", "");
    ASSERT_EQ(symlink("real.replay", (scratch / "link.replay").c_str()), 0);
    EXPECT_EQ(Headless({"--frames", "300", "--autopilot", "1", "--record", scratch / "link.replay"}).exitCode, 0);
    EXPECT_TRUE(lstat((scratch / "link.replay").c_str(), &st) == 0 && S_ISLNK(st.st_mode)) << "the link was replaced";
    EXPECT_NE(ReadWholeFile(scratch / "real.replay"), "");

    // A file no larger than 1 KB can be: the write at the game's end fails.
    ProgramSetup full;
    full.args = {"/bin/sh", "-c",
                 "trap '' XFSZ; ulimit -f 2; exec \"$0\" --headless --autopilot 1 --until-tick 60000 --record \"$1\"",
                 GLIMMO_BINARY_DIR "/run/glimmo", scratch / "big.replay"};
    ProgramResult run = RunChild(full);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    ExpectOneLineAbout(run, "glimmo", "could not keep the game");
}

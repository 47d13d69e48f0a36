// The headless harness given hostile inputs and outputs: scripts that never end or are
// not files, outputs that cannot be written, no temporary folder, a signal half-way.
// Each is refused or reported in one line, with a non-zero exit, and leaves nothing behind.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
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

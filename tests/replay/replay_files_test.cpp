// The replay files: where the kept games go and which game each keeps, a write killed
// half-way, and every kind of bad file refused with its line and exit code 2.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/registry_store.h"
#include "run/autopilot.h"
#include "run/program_run.h"
#include "run/replays.h"
#include "run/script.h"
#include "tests/support/game_reset.h"
#include "tests/support/headless_here.h"
#include "tests/support/run_glimmo.h"

namespace {

// One session "in the window", played on the virtual clock by the built-in player until
// the back key at `closeMs`: every game recorded and kept in `folder`.
void PlaySession(const std::string& folder, int closeMs) {
    HeadlessBackend& backend = UseHeadlessBackend();
    ResetGameGlobals();
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(ParseScript(std::to_string(closeMs) + " close\n", backend.Ticks(), events, error)) << error;
    backend.AddEvents(TimedEvents(events));
    SetRegistryFolder(folder);
    UseVirtualWaveOut();
    CommandLine cl;
    cl.configDir = folder;
    cl.autopilotSeed = 1;
    EXPECT_EQ(RunRecorded(cl, backend, true), 0);
    DisableAutopilot();
    SetBackend(nullptr);
}

Replay Read(const std::string& path) {
    Replay replay;
    ReplayProblem problem;
    EXPECT_TRUE(ParseReplay(ReadWholeFile(path), replay, problem))
        << path << " line " << problem.line << ": " << problem.what;
    return replay;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
}

// The lines of a game recorded headless from `script`, cut short after `frames` passes
// when given.
std::vector<std::string> RecordedLines(const ScratchFolder& scratch, const std::string& script,
                                       const std::string& frames = "") {
    WriteWholeFile(scratch / "game.txt", script);
    ProgramSetup record;
    record.args = {"--headless", "--script", scratch / "game.txt", "--record", scratch / "game.replay"};
    if (!frames.empty()) record.args.insert(record.args.end(), {"--frames", frames});
    EXPECT_EQ(RunGlimmo(record).exitCode, 0);
    return Lines(ReadWholeFile(scratch / "game.replay"));
}

int LineOf(const std::vector<std::string>& lines, const std::string& start) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(start, 0) == 0) return int(i) + 1;
    return -1;
}

}  // namespace

TEST(KeptGames, LastIsTheLatestGameBestTheHighestScore) {
    ScratchFolder scratch("kept");
    // A demo's game is kept as the last one, never as the player's best.
    PlaySession(scratch.Path(), 7000);
    Replay game = Read(scratch / "last.replay");
    EXPECT_GT(game.score, 0);
    EXPECT_FALSE(Exists(scratch / "best.replay")) << "the demo's game was kept as the best";

    auto keep = [&](int32_t score) {
        game.score = score;
        std::string error;
        EXPECT_TRUE(KeepGame(scratch.Path(), game, true, &error)) << error;
        return Read(scratch / "best.replay").score;
    };
    EXPECT_EQ(keep(500), 500) << "the first game kept is the best so far";
    EXPECT_EQ(ReadWholeFile(scratch / "best.replay"), ReadWholeFile(scratch / "last.replay"));
    EXPECT_EQ(keep(300), 500) << "a lower score: the best stays";
    EXPECT_EQ(Read(scratch / "last.replay").score, 300);
    EXPECT_EQ(keep(500), 500);
    EXPECT_EQ(keep(900), 900) << "a higher one takes its place";
    EXPECT_EQ(ReadWholeFile(scratch / "best.replay"), ReadWholeFile(scratch / "last.replay"));
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path() << " was left";
}

// A child keeps games over and over, each long enough to be caught half-written; the
// files read meanwhile and left behind by a kill are always a whole game, old or new.
TEST(KeptGames, AKillInTheMiddleOfAWriteLeavesTheOldGameOrTheNew) {
    ScratchFolder scratch("killed-keep");
    PlaySession(scratch.Path(), 7000);
    const Replay old = Read(scratch / "last.replay");
    Replay game = old;
    while (game.journal.size() < 8000) game.journal.push_back(game.journal.back());  // about 150 KB
    for (size_t i = 0; i < game.journal.size(); ++i)
        game.journal[i].pass = 1 + i, game.journal[i].call = 1, game.journal[i].tick = game.startTick + 11 * i;
    game.passes = game.journal.size();
    // Either file, whenever it is read, holds the old game or a new one, whole.
    auto oldOrNew = [&](const std::string& path, Replay& seen) {
        ReplayProblem problem;
        if (!ParseReplay(ReadWholeFile(path), seen, problem))
            return path + " is broken, line " + std::to_string(problem.line) + ": " + problem.what;
        if (seen.journal.size() != old.journal.size() && seen.journal.size() != game.journal.size())
            return path + " is neither the old game nor a new one";
        return std::string();
    };
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayUs(10000, 300000);
    int looks = 0, sawNew = 0;
    // On a slow machine (a sanitizer build on a busy host) a first game can take longer to
    // keep than the longest random delay: until one is seen, each round waits longer.
    std::chrono::microseconds patience{0};
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t score = old.score + 1;; ++score) {
                game.score = score;
                KeepGame(scratch.Path(), game, true, nullptr);
            }
        }
        auto killAt = std::chrono::steady_clock::now() + std::chrono::microseconds(delayUs(random)) + patience;
        while (std::chrono::steady_clock::now() < killAt) {
            Replay seen;
            std::string fault = oldOrNew(scratch / "last.replay", seen);
            if (!fault.empty()) {
                kill(child, SIGKILL);
                waitpid(child, nullptr, 0);
                FAIL() << "while the games were kept: " << fault;
            }
            ++looks;
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        for (const char* which : {"last.replay", "best.replay"}) {
            Replay left;
            ASSERT_EQ(oldOrNew(scratch / which, left), "") << "after the kill";
            sawNew += left.journal.size() == game.journal.size();
        }
        if (!sawNew)
            patience = std::min(2 * patience + std::chrono::milliseconds(50), std::chrono::microseconds(5000000));
    }
    EXPECT_GT(sawNew, 0) << "no new game was ever kept whole: the test proved nothing";
    EXPECT_GT(looks, 0);
}

// Each kind of bad file: one line naming the file and the line, exit code 2, and the kept
// games untouched.
TEST(BadReplays, EachKindIsRefusedWithItsLine) {
    ScratchFolder scratch("bad-replays");
    WriteWholeFile(scratch / "game.txt", "100 tap RETURN\n4500 down UP\n4700 up UP\n4700 down LEFT\n6000 close\n");
    ProgramSetup record;
    record.args = {"--headless", "--script", scratch / "game.txt", "--record", scratch / "good.replay"};
    ASSERT_EQ(RunGlimmo(record).exitCode, 0);
    const std::string good = ReadWholeFile(scratch / "good.replay");
    const std::vector<std::string> lines = Lines(good);
    const int versionLine = LineOf(lines, "version ");
    const int endLine = LineOf(lines, "end ");
    const int firstPass = endLine > 0 ? LineOf(lines, "# PASS.CALL") + 1 : -1;
    const int lastPass = endLine - 1;
    ASSERT_GT(firstPass, 0);
    ASSERT_GT(lastPass, firstPass);

    const std::string kept = scratch / "kept";
    std::filesystem::create_directories(kept);
    WriteWholeFile(kept + "/last.replay", good);
    WriteWholeFile(kept + "/best.replay", good);
    auto play = [&](const std::string& file) {
        ProgramSetup setup;
        setup.args = {"--headless", "--config-dir", kept, "--replay", file};
        return RunGlimmo(setup);
    };
    ASSERT_EQ(play(scratch / "good.replay").exitCode, 0) << play(scratch / "good.replay").err;

    struct Bad {
        std::string name;
        std::string text;
        int line;
        std::string says = "";
    };
    // Another game version's replay names the version it needs.
    std::vector<std::string> v = lines;
    const int gameLine = LineOf(lines, "game ");
    v[gameLine - 1] = "game 2";
    std::vector<Bad> bad{{"other_game_version", Join(v), gameLine, "needs game version 2"}};
    v.erase(v.begin() + gameLine - 1);
    v[versionLine - 1] = "version 0.9.0";
    bad.push_back({"a_program_that_named_no_game_version", Join(v), versionLine,
                   "recorded by glimmo 0.9.0, which names no game version"});
    std::string cut = Join(lines);
    cut.resize(cut.size() - lines.back().size() - 1 - lines[lastPass - 1].size() / 2 - 1);
    bad.push_back({"cut_in_a_line", cut, lastPass});
    v = lines;
    v.pop_back();
    bad.push_back({"cut_before_the_end", Join(v), lastPass});
    v = lines;
    v[firstPass - 1] += " dwon 38";
    bad.push_back({"unreadable_line", Join(v), firstPass});
    v = lines;
    const uint64_t passes = std::stoull(lines[endLine - 1].substr(4));
    v.insert(v.begin() + lastPass, std::to_string(passes + 1) + ".1 9000 down 38");
    bad.push_back({"past_the_last_pass", Join(v), lastPass + 1});
    v = lines;
    v.push_back("1.1 0 down 38");
    bad.push_back({"past_the_end_line", Join(v), endLine + 1});
    v = lines;
    v[firstPass - 1] = "1.99" + v[firstPass - 1].substr(v[firstPass - 1].find(' '));  // no pass makes 99 calls
    bad.push_back({"a_call_never_made", Join(v), firstPass});
    // Values and counts no game can reach, which the game's arithmetic was never meant for.
    for (const auto& [name, line] : std::vector<std::pair<std::string, std::string>>{
             {"anim_counter_at_the_top", "world AnimCounter 2147483647"},
             {"lives_at_the_bottom", "world Player.lives -2147483648"},
             {"player_far_below", "world Player.y 65535"},
             {"no_frame_timer", "# no timer"},
         }) {
        v = lines;
        const int at = LineOf(lines, line.substr(0, line.rfind(' ')) + " ");
        const int timer = LineOf(lines, "timer ");
        if (line[0] == '#') v[timer - 1] = line;
        else v[at - 1] = line;
        bad.push_back({name, Join(v), line[0] == '#' ? firstPass : at});
    }
    v = lines;
    v[endLine - 1] = "end 1099511627776 0";
    bad.push_back({"more_passes_than_the_clock_allows", Join(v), endLine});
    v = lines;
    v.insert(v.begin() + lastPass, std::to_string(passes) + ".9 0");
    bad.push_back({"time_going_back", Join(v), lastPass + 1});
    v = lines;
    v[firstPass - 1] = std::to_string(passes - 1) + ".1 5";
    bad.push_back({"passes_faster_than_the_clock", Join(v), firstPass});

    for (const Bad& b : bad) {
        SCOPED_TRACE(b.name);
        const std::string file = scratch / (b.name + ".replay");
        WriteWholeFile(file, b.text);
        ProgramResult run = play(file);
        EXPECT_EQ(run.exitCode, 2);
        ASSERT_EQ(run.ErrLines().size(), 1u) << run.err;
        EXPECT_NE(run.err.find(file + ": replay line " + std::to_string(b.line) + ": " + b.says), std::string::npos)
            << run.err;
        std::printf("%s: %s", b.name.c_str(), run.err.c_str());
    }
    EXPECT_EQ(ReadWholeFile(kept + "/last.replay"), good);
    EXPECT_EQ(ReadWholeFile(kept + "/best.replay"), good);

    // Nothing kept, or a kept game that is not a file (a pipe would wait for ever).
    const std::string piped = scratch / "piped";
    std::filesystem::create_directories(piped);
    ASSERT_EQ(mkfifo((piped + "/best.replay").c_str(), 0600), 0);
    for (const std::string& folder : {scratch / "nothing_kept", piped}) {
        ProgramSetup none;
        none.args = {"--headless", "--config-dir", folder, "--replay", "best"};
        none.timeoutSeconds = 20;
        ProgramResult run = RunGlimmo(none);
        EXPECT_EQ(run.exitCode, 2) << folder;
        EXPECT_EQ(run.ErrLines().size(), 1u) << run.err;
    }
}

// A kept best game that reads but cannot be played (here its score edited) is set aside
// when it is watched, and the next game kept takes its place.
TEST(KeptGames, ABestGameThatCannotBePlayedGivesWay) {
    ScratchFolder scratch("unplayable-best");
    std::vector<std::string> lines = RecordedLines(scratch, "100 tap RETURN\n6000 close\n");
    const Replay game = Read(scratch / "game.replay");
    lines[LineOf(lines, "end ") - 1] = "end " + std::to_string(game.passes) + " 999999";
    WriteWholeFile(scratch / "best.replay", Join(lines));

    ProgramSetup watch;
    watch.args = {"--headless", "--config-dir", scratch.Path(), "--replay", "best"};
    ProgramResult run = RunGlimmo(watch);
    EXPECT_EQ(run.exitCode, 2);
    ExpectOneLineAbout(run, "glimmo", "kept aside");
    std::string error;
    ASSERT_TRUE(KeepGame(scratch.Path(), game, true, &error)) << error;
    EXPECT_EQ(Read(scratch / "best.replay").score, game.score) << "the unplayable best game did not give way";
}

// A replay that the harness cuts short is no fault of the replay: an output that fails
// ends it with exit code 1 and that output's one line; a signal with 128 + the signal.
TEST(BadReplays, ARunTheHarnessCutsShortIsNotTheReplaysFault) {
    ScratchFolder scratch("cut-by-harness");
    ProgramSetup record;
    record.args = {"--headless", "--autopilot", "2", "--until-tick", "300000", "--record", scratch / "long.replay"};
    ASSERT_EQ(RunGlimmo(record).exitCode, 0);

    ProgramSetup full;
    full.args = {"--headless", "--replay", scratch / "long.replay", "--state-log", "/dev/full"};
    ProgramResult run = RunGlimmo(full);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.ErrLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("/dev/full"), std::string::npos) << run.err;

    ProgramSetup stopped;
    stopped.args = {"--headless", "--replay", scratch / "long.replay", "--state-log", scratch / "state.jsonl"};
    stopped.terminateAfterMs = 100;
    stopped.terminateOnceExists = scratch / "state.jsonl";
    stopped.terminateSignal = SIGINT;
    run = RunGlimmo(stopped);
    EXPECT_EQ(run.exitCode, 128 + SIGINT) << run.err;
    EXPECT_EQ(run.err, "");
}

// A jump of the recorded clock (a machine suspended for 24 days as the game began) replays
// at little cost; a run's --until-tick bounds the sound written for it.
TEST(LongGaps, CostLittleAndEndWhereTheRunEnds) {
    ScratchFolder scratch("long-gaps");
    std::vector<std::string> lines = RecordedLines(scratch, "100 tap RETURN\n4500 down LEFT\n", "3000");
    for (std::string& line : lines)  // every pass's time moved on by the jump at the first one
        if (std::isdigit(static_cast<unsigned char>(line[0]))) {
            const size_t at = line.find(' ') + 1, end = line.find(' ', at);
            line.replace(at, end - at, std::to_string(std::stoull(line.substr(at, end - at)) + 0x7FFFFFFE));
        }
    WriteWholeFile(scratch / "gap.replay", Join(lines));

    ProgramSetup play;
    play.args = {"--headless", "--replay", scratch / "gap.replay"};
    play.timeoutSeconds = 30;
    ProgramResult run = RunGlimmo(play);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    play.args.insert(play.args.end(), {"--until-tick", "40000", "--audio-out", scratch / "gap.wav"});
    run = RunGlimmo(play);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_LT(std::filesystem::file_size(scratch / "gap.wav"), 45u * 44100) << "sound written past the run's end";
}

// A replay of the largest size takes about its own size in memory to be read.
TEST(LongGaps, AHugeReplayCostsItsSizeInMemory) {
    ScratchFolder scratch("huge-replay");
    std::vector<std::string> lines = RecordedLines(scratch, "100 tap RETURN\n", "20");
    lines.resize(size_t(LineOf(lines, "# PASS.CALL")));
    {
        std::ofstream out(scratch / "huge.replay", std::ios::binary);
        out << Join(lines);
        uint64_t pass = 1;
        for (; out.tellp() < (48 << 20); ++pass) out << pass << ".1 " << 12 * pass << "\n";
        out << "end " << pass << " 0\n";
    }
    const auto size = long(std::filesystem::file_size(scratch / "huge.replay"));
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    CommandLine cl;
    cl.replay = scratch / "huge.replay";
    Replay replay;
    ASSERT_TRUE(LoadReplay(cl, replay));
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT((after.ru_maxrss - before.ru_maxrss) * 1024, 2 * size) << "peak memory grew more than twice the file";
}

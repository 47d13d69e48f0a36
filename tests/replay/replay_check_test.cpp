// The kept replays under fixtures/ (a player's game in the window, one with pauses and
// minimises, a demo, and the replays glimmo 1.0.0 wrote) and the replay of every golden
// run: every build plays each to its recorded end, and the check of a replay (--verify)
// plays the same game as the full run, pass for pass. What the check finds is said in its
// exit code and its JSON line.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "run/program_run.h"
#include "run/state_log.h"
#include "run/verify.h"
#include "tests/support/run_glimmo.h"
#include "tests/support/state_log_reader.h"

namespace {

std::vector<std::string> Fixtures() {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(GLIMMO_REPLAY_FIXTURES))
        if (entry.path().extension() == ".replay") paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The golden runs played again with every game recorded. A run that never leaves the title
// records none, and one whose script sets the game's values cannot be recorded.
std::vector<std::string> GoldenReplays(const ScratchFolder& scratch) {
    std::vector<std::string> paths;
    std::ifstream runs(std::string(GLIMMO_GOLDEN_DIR) + "/runs.txt");
    for (std::string line; std::getline(runs, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string name;
        words >> name;
        ProgramSetup setup;
        setup.args = {"--headless", "--config-dir", scratch / name, "--record", scratch / (name + ".replay")};
        for (std::string word; words >> word;) {
            if (setup.args.size() == 5 && word.find_first_not_of("0123456789") == std::string::npos) continue;
            const bool script = setup.args.back() == "--script";
            setup.args.push_back(script ? std::string(GLIMMO_GOLDEN_DIR) + "/" + word : word);
        }
        std::filesystem::create_directories(scratch / name);
        const ProgramResult run = RunGlimmo(setup);
        if (run.err.find("cannot keep a set line") != std::string::npos) continue;
        EXPECT_EQ(run.exitCode, 0) << line << run.err;
        if (std::filesystem::exists(scratch / (name + ".replay"))) paths.push_back(scratch / (name + ".replay"));
    }
    return paths;
}

// The end line's passes and score.
std::pair<uint64_t, int64_t> EndOf(const std::string& text) {
    std::istringstream words(text.substr(text.rfind("\nend ") + 5));
    std::pair<uint64_t, int64_t> end{0, 0};
    words >> end.first >> end.second;
    return end;
}

// The check of a replay in this process, with the state line of every pass it played.
VerifyResult Check(const std::string& text, std::vector<std::string>& states, const VerifyLimits& limits = {}) {
    OnPassEnd = [&states](const PassInfo& p) {
        std::string line = StateLine(p.pass, p.tick, *p.msg, p.kind);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        states.push_back(line);
    };
    VerifyResult result = VerifyReplay(text, limits);
    OnPassEnd = nullptr;
    return result;
}

}  // namespace

TEST(ReplayCheck, PlaysEveryFixtureAndGoldenRunToItsEndAsAFullRunDoes) {
    ScratchFolder scratch("replay-check");
    std::vector<std::string> replays = Fixtures();
    ASSERT_GE(replays.size(), 4u);
    const std::vector<std::string> golden = GoldenReplays(scratch);
    EXPECT_GE(golden.size(), 4u);
    replays.insert(replays.end(), golden.begin(), golden.end());
    for (const std::string& replay : replays) {
        SCOPED_TRACE(replay);
        ProgramSetup setup;
        setup.args = {"--headless", "--replay", replay, "--state-log", scratch / "state.jsonl"};
        const ProgramResult run = RunGlimmo(setup);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<std::string> full = StateLogLines(scratch / "state.jsonl");
        const std::string text = ReadWholeFile(replay);
        const auto [passes, score] = EndOf(text);
        ASSERT_EQ(full.size(), passes);
        EXPECT_EQ(StateValue(full.back(), "score"), score);

        std::vector<std::string> checked;
        const VerifyResult result = Check(text, checked);
        EXPECT_EQ(result.verdict, Verdict::Holds) << result.why;
        EXPECT_TRUE(result.playedToEnd);
        EXPECT_EQ(result.score, score);
        EXPECT_EQ(result.passes, passes);
        ASSERT_EQ(checked.size(), full.size());
        for (size_t i = 0; i < full.size(); ++i) ASSERT_EQ(checked[i], full[i]) << "pass " << i + 1;
    }
}

TEST(ReplayCheck, SaysInItsExitCodeAndItsLineWhatItFound) {
    ScratchFolder scratch("replay-check-codes");
    const std::string fixtures = GLIMMO_REPLAY_FIXTURES;
    const std::string demo = ReadWholeFile(fixtures + "/window_demo.replay");
    const std::string game = ReadWholeFile(fixtures + "/window_pauses_and_minimise.replay");
    const auto [passes, score] = EndOf(game);
    std::string edited = game.substr(0, game.rfind("\nend ") + 1);
    std::string otherGame = game;
    otherGame.replace(otherGame.find("\nversion 1.0.0\n"), 15, "\nversion 1.0.0\ngame 2\n");
    struct Row {
        std::string name;
        std::string text;
        int code;
        std::string says;
    };
    const std::vector<Row> rows{
        {"a_game", game, 0, "\"verdict\":\"holds\",\"score\":" + std::to_string(score)},
        {"a_demo", demo, 0, "\"demo\":true"},
        {"its_end_line_edited", edited + "end " + std::to_string(passes) + " " + std::to_string(score + 10) + "\n",
         VerifyDoesNotHoldCode, "\"verdict\":\"does-not-hold\""},
        {"another_game_version", otherGame, VerifyOtherGameVersionCode, "\"gameVersion\":2"},
        {"not_a_replay", "glimmo-replay\n", 2, "\"verdict\":\"not-a-replay\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteWholeFile(scratch / row.name, row.text);
        ProgramSetup setup;
        setup.args = {"--verify", row.name == "a_game" ? "-" : scratch / row.name};
        setup.stdinFile = scratch / row.name;
        const ProgramResult run = RunGlimmo(setup);
        EXPECT_EQ(run.exitCode, row.code);
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
        EXPECT_NE(run.out.find(row.says), std::string::npos) << run.out;
        EXPECT_EQ(run.err, "");
    }
}

TEST(ReplayCheck, StopsPastItsTimeLimit) {
    std::vector<std::string> states;
    const VerifyResult result = Check(ReadWholeFile(std::string(GLIMMO_REPLAY_FIXTURES) + "/window_demo.replay"),
                                      states, VerifyLimits{std::chrono::milliseconds(1)});
    EXPECT_EQ(result.verdict, Verdict::TooLong);
    EXPECT_FALSE(result.playedToEnd);
    EXPECT_EQ(VerifyExitCode(result), VerifyTooLongCode);
}

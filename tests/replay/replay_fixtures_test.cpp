// The kept replays under fixtures/: games of the kinds players share (a long game in the
// window, one with pauses and a minimise, a demo) and the replays glimmo 1.0.0 wrote.
// Every build plays each of them to its recorded end.
#include <gtest/gtest.h>
#include <filesystem>
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

// The end line's passes and score.
std::pair<uint64_t, int64_t> EndOf(const std::string& text) {
    const size_t at = text.rfind("\nend ");
    std::istringstream words(text.substr(at + 5));
    std::pair<uint64_t, int64_t> end{0, 0};
    words >> end.first >> end.second;
    return end;
}

}  // namespace

TEST(ReplayFixtures, EachPlaysToItsRecordedEnd) {
    const std::vector<std::string> fixtures = Fixtures();
    ASSERT_GE(fixtures.size(), 4u);
    for (const std::string& fixture : fixtures) {
        SCOPED_TRACE(fixture);
        ScratchFolder scratch("fixture");
        ProgramSetup setup;
        setup.args = {"--headless", "--replay", fixture, "--state-log", scratch / "state.jsonl"};
        const ProgramResult run = RunGlimmo(setup);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<std::string> lines = StateLogLines(scratch / "state.jsonl");
        const auto [passes, score] = EndOf(ReadWholeFile(fixture));
        ASSERT_EQ(lines.size(), passes);
        EXPECT_EQ(StateValue(lines.back(), "score"), score);
    }
}

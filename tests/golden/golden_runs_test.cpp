// The golden runs: each run of runs.txt is played by the real program, headless, and its
// outputs must reduce to the digests kept beside it. GLIMMO_GOLDEN_RECORD=1 writes the
// digests anew instead: do that only for a deliberate change of behaviour, in a commit
// of its own that says why.
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include "tests/golden/golden_digest.h"
#include "tests/support/run_glimmo.h"
#include "tests/support/state_log_reader.h"

namespace {

struct GoldenRun {
    std::string name;
    std::vector<uint64_t> screenshotPasses;
    std::vector<std::string> args;
};

const std::string Folder = GLIMMO_GOLDEN_DIR;

std::vector<GoldenRun> ReadRuns() {
    std::vector<GoldenRun> runs;
    std::ifstream in(Folder + "/runs.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        GoldenRun run;
        words >> run.name;
        for (std::string word; words >> word;) {
            if (run.args.empty() && word.find_first_not_of("0123456789") == std::string::npos)
                run.screenshotPasses.push_back(std::stoull(word));
            else run.args.push_back(run.args.size() && run.args.back() == "--script" ? Folder + "/" + word : word);
        }
        runs.push_back(run);
    }
    return runs;
}

class GoldenRunTest : public ::testing::TestWithParam<GoldenRun> {};

TEST_P(GoldenRunTest, OutputsMatchTheirDigests) {
    const GoldenRun& run = GetParam();
    ScratchFolder scratch("golden-" + run.name);
    ProgramSetup setup;
    setup.args = {"--headless",  "--config-dir",       scratch.Path(), "--state-log", scratch / "state.jsonl",
                  "--audio-out", scratch / "audio.wav"};
    for (uint64_t pass : run.screenshotPasses) {
        setup.args.push_back("--screenshot");
        setup.args.push_back(std::to_string(pass) + ":" + scratch / (std::to_string(pass) + ".png"));
    }
    setup.args.insert(setup.args.end(), run.args.begin(), run.args.end());
    const ProgramResult result = RunGlimmo(setup);
    ASSERT_EQ(result.exitCode, 0) << result.err;

    std::map<uint64_t, std::string> screenshots;
    for (uint64_t pass : run.screenshotPasses) {
        screenshots[pass] = ReadWholeFile(scratch / (std::to_string(pass) + ".png"));
        ASSERT_FALSE(screenshots[pass].empty()) << "no screenshot of pass " << pass;
    }
    const std::vector<std::string> lines = StateLogLines(scratch / "state.jsonl");
    ASSERT_GE(lines.size(), run.screenshotPasses.empty() ? 1 : run.screenshotPasses.back());
    const GoldenDigests actual = GoldenDigests::Of(screenshots, ReadWholeFile(scratch / "audio.wav"), lines);

    const std::string goldenPath = Folder + "/" + run.name + ".golden";
    const char* record = std::getenv("GLIMMO_GOLDEN_RECORD");
    if (record && std::string(record) == "1") {
        std::ofstream(goldenPath, std::ios::trunc) << actual.Text();
        GTEST_SKIP() << "recorded " << goldenPath;
    }
    GoldenDigests expected;
    ASSERT_TRUE(expected.Read(ReadWholeFile(goldenPath))) << goldenPath << " is missing or damaged";
    const std::string differences = CompareGolden(expected, actual, lines);
    EXPECT_TRUE(differences.empty()) << run.name << ":\n" << differences;
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenRunTest, ::testing::ValuesIn(ReadRuns()),
                         [](const ::testing::TestParamInfo<GoldenRun>& info) { return info.param.name; });

}  // namespace

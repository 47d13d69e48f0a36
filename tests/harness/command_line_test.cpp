// The command line and the script: what they accept, and a clear refusal (exit 2) for
// everything else.
#include "run/command_line.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include "run/script.h"

namespace {
bool Parse(std::vector<std::string> args, CommandLine& cl, std::string& error) {
    cl = CommandLine{};
    error.clear();
    return ParseCommandLine(args, cl, error);
}
}  // namespace

TEST(CommandLine, AcceptsTheHarnessOptions) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(
        Parse({"--headless", "--frames", "5", "--until-tick", "600", "--start-tick", "4294967290", "--screenshot",
               "3:a.png", "--screenshot", "4:b.png", "--display-props", "176,220,-440,2,16,128", "--autopilot", "7"},
              cl, error))
        << error;
    EXPECT_EQ(*cl.frames, 5u);
    EXPECT_EQ(*cl.untilTick, 600u);
    EXPECT_EQ(cl.startTick, 4294967290u);
    ASSERT_EQ(cl.screenshots.size(), 2u);
    EXPECT_EQ(cl.screenshots[1].pass, 4u);
    EXPECT_EQ(cl.screenshots[1].path, "b.png");
    EXPECT_EQ(cl.displayProps->cbxPitch, -440);
    EXPECT_EQ(*cl.autopilotSeed, 7u);
}

TEST(CommandLine, RefusesWithAMessageNamingTheProblem) {
    CommandLine cl;
    std::string error;
    const std::vector<std::vector<std::string>> bad = {
        {"--scale", "0"},
        {"--scale", "two"},
        {"--no-such-option"},
        {"--headless", "--frames", "abc"},
        {"--headless", "--frames"},
        {"--headless", "--screenshot", "x.png"},
        {"--headless", "--display-props", "1,2,3"},
        {"--frames", "5"},
        {"--submit", "best", "--hall", "http://127.0.0.1:8630"},
        {"--submit", "best", "--name", "Ann"},
        {"--submit", "best", "--hall", "http://127.0.0.1:8630", "--name", "Ann", "--autopilot", "1"},
    };
    for (const auto& args : bad) {
        EXPECT_FALSE(Parse(args, cl, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(Parse({"--scale", "0"}, cl, error));
    EXPECT_NE(error.find("--scale"), std::string::npos);
    EXPECT_NE(HelpText().find("--headless"), std::string::npos);
}

TEST(CommandLine, NumbersAreDecimalAndOutOfRangeIsRefused) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(Parse({"--scale", "010", "--autopilot", "010"}, cl, error)) << error;
    EXPECT_EQ(cl.scale, 10) << "a leading zero is not octal";
    EXPECT_EQ(*cl.autopilotSeed, 10u);
    ASSERT_TRUE(Parse({"--scale", "16"}, cl, error)) << error;
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--scale", "0x10"},
                                               {"--scale", "17"},
                                               {"--scale", "64"},
                                               {"--scale", "+3"},
                                               {"--scale", " 3"},
                                               {"--autopilot", "0x7"},
                                               {"--headless", "--frames", "1e3"},
                                               {"--headless", "--start-tick", "-1"},
                                               {"--headless", "--screenshot", "0x3:a.png"},
                                               {"--headless", "--display-props", "0xB0,220,2,352,16,128"}}) {
        EXPECT_FALSE(Parse(args, cl, error)) << args[args.size() - 2] << " " << args.back();
        EXPECT_NE(error.find(args[args.size() - 2]), std::string::npos) << error;
    }
}

TEST(CommandLine, EmptyNamesAreRefused) {
    CommandLine cl;
    std::string error;
    for (const char* option : {"--script", "--config-dir", "--audio-out", "--state-log"}) {
        EXPECT_FALSE(Parse({"--headless", option, ""}, cl, error)) << option;
        EXPECT_NE(error.find(option), std::string::npos) << error;
    }
}

TEST(Script, EventsAndTheirTicks) {
    std::vector<ScriptEvent> ev;
    std::string error;
    ASSERT_TRUE(
        ParseScript("# comment\n100 tap RETURN\n\n200 down 8 # steer\n250 up DOWN\n300 set Level 7\n"
                    "400 deactivate\n500 close\n",
                    1000, ev, error))
        << error;
    ASSERT_EQ(ev.size(), 7u);
    EXPECT_EQ(ev[0].tick, 1100u);
    EXPECT_EQ(ev[0].vk, 13);
    EXPECT_EQ(ev[1].kind, ScriptEvent::KeyUp);
    EXPECT_EQ(ev[1].tick, 1130u) << "a tap lets go 30 ms later";
    EXPECT_EQ(ev[2].vk, '8');
    EXPECT_EQ(ev[4].name, "Level");
    EXPECT_EQ(ev[4].value, 7);
    EXPECT_EQ(ev[5].kind, ScriptEvent::Deactivate);
    EXPECT_EQ(ev[6].kind, ScriptEvent::Close);
}

TEST(Script, MalformedLinesAreNamed) {
    const char* bad[] = {"100 dance RETURN", "100 down NOSUCHKEY", "x tap RETURN",  "100",          "100 tap",
                         "100 set Ghosts 3", "100 set Level many", "-5 tap RETURN", "100 close now"};
    for (const char* line : bad) {
        std::vector<ScriptEvent> ev;
        std::string error;
        EXPECT_FALSE(ParseScript(std::string("0 tap RETURN\n") + line + "\n", 0, ev, error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(Script, TicksPastTheReachOfARunAreRefused) {
    std::vector<ScriptEvent> ev;
    std::string error;
    // The script's clock runs 2^31 - 1 ms (24.8 days) past the start, releases included.
    ASSERT_TRUE(ParseScript("2147483647 down UP\n2147483617 tap RETURN\n", 4294967000u, ev, error)) << error;
    for (const char* line : {"2147483648 down UP", "4294967295 down UP", "2147483618 tap RETURN"}) {
        EXPECT_FALSE(ParseScript(std::string("0 tap RETURN\n") + line + "\n", 0, ev, error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(Script, SetTakesOnlyValuesAGameCanReach) {
    std::vector<ScriptEvent> ev;
    std::string error;
    ASSERT_TRUE(
        ParseScript("0 set Level 1\n0 set Level 21\n0 set DotsEaten 0\n0 set DotsEaten 244\n"
                    "0 set Score 0\n0 set Score 9999999\n0 set Lives 0\n0 set Lives 6\n",
                    0, ev, error))
        << error;
    for (const char* line : {"0 set Level 0", "0 set Level 22", "0 set DotsEaten 245", "0 set DotsEaten 2147483647",
                             "0 set Score -1", "0 set Score 10000000", "0 set Lives -1", "0 set Lives 7",
                             "0 set Lives 2147483647", "0 set Level -2147483648"}) {
        EXPECT_FALSE(ParseScript(std::string("0 tap RETURN\n") + line + "\n", 0, ev, error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(CommandLine, ExecutableExitsWithTwoOnBadInput) {
    std::string exe = GLIMMO_EXE;
    std::string dir = ::testing::TempDir();
    std::ofstream(dir + "bad_script.txt") << "100 dance RETURN\n";
    auto status = [&](const std::string& args) {
        int rc = std::system((exe + " " + args + " >/dev/null 2>&1").c_str());
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    };
    EXPECT_EQ(status("--scale 0"), 2);
    EXPECT_EQ(status("--bogus"), 2);
    EXPECT_EQ(status("--headless --frames 3 --script " + dir + "bad_script.txt"), 2);
    EXPECT_EQ(status("--headless --frames 3 --script " + dir + "does_not_exist.txt"), 2);
    EXPECT_EQ(status("--headless --frames 3"), 0);
    EXPECT_EQ(status("--version"), 0);
    // No display at all: one clear line, exit 1.
    EXPECT_EQ(status("--help"), 0);
    EXPECT_EQ(status("-h"), 0);
}

TEST(CommandLine, ReadmeListsEveryOption) {
    std::ifstream in(std::string(GLIMMO_SOURCE_DIR) + "/README.md");
    std::string readme((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(readme.empty());
    for (const OptionInfo& o : Options()) {
        std::string entry = std::string("  ") + o.name + (o.argument ? std::string(" ") + o.argument : "");
        EXPECT_NE(readme.find(entry), std::string::npos) << o.name << " is missing from the README's options";
        EXPECT_NE(readme.find(o.help), std::string::npos) << o.name << "'s help differs in the README";
    }
}

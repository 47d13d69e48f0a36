// The program's command line: one table of options gives the parser, --help and the
// man page's list. Errors name the problem; the caller exits with code 2.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include "platform/display.h"

struct ScreenshotRequest {
    uint64_t pass;
    std::string path;
};

struct CommandLine {
    bool headless = false;
    bool help = false;
    bool version = false;
    std::optional<uint64_t> frames;
    std::optional<uint32_t> untilTick;
    uint32_t startTick = 1000000;
    std::string script;
    std::optional<uint32_t> autopilotSeed;
    std::string stateLog;
    std::vector<ScreenshotRequest> screenshots;
    std::string audioOut;
    std::string configDir;
    std::optional<GXDisplayProperties> displayProps;
    int scale = 0;
    bool fullscreen = false;
    bool windowed = false;
    std::string replay;  // a replay file to play back, or "best" or "last"
    std::string record;  // keep each game played in this file too
    std::string submit;  // a game to send to a hall of fame: a replay file, or "best" or "last"
    std::string hall;    // the hall's address
    std::string name;    // the player's name on its board
    std::string verify;  // a replay to check ("-": the standard input)
};

struct OptionInfo {
    const char* name;
    const char* argument;  // null for a flag
    const char* help;
};
const std::vector<OptionInfo>& Options();

// Fills `out`; on a bad command line returns false with `error` set.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);
std::string HelpText();

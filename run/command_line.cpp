// Parsing of the command line against the option table.
#include "run/command_line.h"
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include "platform/window_scale.h"

namespace {
const std::vector<OptionInfo> table = {
    {"--help", nullptr, "show this help and exit"},
    {"--version", nullptr, "show the version and exit"},
    {"--scale", "N",
     "window scale, a whole number from 1 to 16 (default: the scale the window had when last closed, else the "
     "largest that fits)"},
    {"--fullscreen", nullptr, "start in full screen (Alt+Enter or F11 toggles; the window remembers it)"},
    {"--windowed", nullptr, "start in a window, even if the last run ended in full screen"},
    {"--config-dir", "DIR", "where the settings file glimmo.reg is kept"},
    {"--autopilot", "SEED", "let the built-in player play (a demo in the window; its score is not kept)"},
    {"--replay", "FILE", "play a recorded game back: a replay file, or 'best' or 'last' (the kept ones)"},
    {"--record", "FILE", "keep each game played in FILE too, beside last.replay and best.replay"},
    {"--submit", "FILE", "send a game (a replay file, or 'best' or 'last') to a hall of fame, with --hall and --name"},
    {"--hall", "URL", "the hall of fame's address for --submit (http://HOST:PORT)"},
    {"--name", "NAME", "your name on the hall of fame's board, for --submit"},
    {"--verify", "FILE",
     "check a replay ('-': the standard input) as fast as it can: one JSON line, exit 0 if it holds"},
    {"--headless", nullptr, "run without a window, on a virtual clock, deterministically"},
    {"--frames", "N", "headless: stop after N passes of the main loop"},
    {"--until-tick", "T", "headless: stop when the virtual clock has run T ms"},
    {"--start-tick", "T", "headless: the virtual clock's first tick (default 1000000)"},
    {"--script", "FILE", "headless: key and window events, one 'TICK VERB [ARG]' a line"},
    {"--state-log", "FILE", "headless: write the game's state after every pass, one JSON line each"},
    {"--screenshot", "PASS:FILE.png", "headless: save the frame of that pass as PNG (repeatable)"},
    {"--audio-out", "FILE.wav", "headless: write every sound block played to a WAV file"},
    {"--display-props", "CX,CY,XPITCH,YPITCH,BPP,FORMAT", "headless: other display properties, for tests"},
};

// Decimal digits only (a minus sign where lo is below 0): no octal, hex, spaces or plus.
bool ParseNumber(const std::string& s, int64_t lo, int64_t hi, int64_t& out) {
    const size_t digits = s.find_first_not_of('-') == 1 && lo < 0 ? 1 : 0;
    if (s.size() <= digits || s.find_first_not_of("0123456789", digits) != std::string::npos) return false;
    errno = 0;
    long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (errno || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool ParseProps(const std::string& s, GXDisplayProperties& p) {
    int64_t v[6];
    size_t start = 0;
    for (int i = 0; i < 6; ++i) {
        size_t comma = s.find(',', start);
        if ((i < 5) != (comma != std::string::npos)) return false;
        std::string part = s.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!ParseNumber(part, i < 2 ? 1 : -65536, i < 2 ? 4096 : 65536, v[i])) return false;
        start = comma + 1;
    }
    p = GXDisplayProperties{uint32_t(v[0]), uint32_t(v[1]), int32_t(v[2]),
                            int32_t(v[3]),  int32_t(v[4]),  uint32_t(v[5])};
    return true;
}
}  // namespace

const std::vector<OptionInfo>& Options() { return table; }

std::string HelpText() {
    std::string text =
        "Usage: glimmo [OPTION]...\nThe maze-chase game. Enter or Space starts; arrows, W A S D or 2 4 6 8 steer;\n"
        "P, F10 or Escape pauses; F6/F7 or +/- set the volume; Escape on the pause screen,\n"
        "the title or GAME OVER saves and quits.\n\nOptions:\n";
    for (const OptionInfo& o : table) {
        std::string left = std::string("  ") + o.name + (o.argument ? std::string(" ") + o.argument : "");
        if (std::string(o.name) == "--help") left += ", -h";
        if (left.size() < 34) left.resize(34, ' ');
        else left += "\n" + std::string(34, ' ');
        text += left + o.help + "\n";
    }
    return text;
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i] == "-h" ? "--help" : args[i];
        const OptionInfo* info = nullptr;
        for (const OptionInfo& o : table)
            if (a == o.name) info = &o;
        if (!info) {
            error = "unknown option '" + a + "' (see --help)";
            return false;
        }
        std::string value;
        if (info->argument) {
            if (i + 1 >= args.size()) {
                error = a + " needs " + info->argument;
                return false;
            }
            value = args[++i];
        }
        int64_t n = 0;
        auto bad = [&](const std::string& what) {
            error = a + " " + value + ": " + what;
            return false;
        };
        if (a == "--help") out.help = true;
        else if (a == "--version") out.version = true;
        else if (a == "--headless") out.headless = true;
        else if (a == "--fullscreen") out.fullscreen = true, out.windowed = false;  // the later one wins
        else if (a == "--windowed") out.windowed = true, out.fullscreen = false;
        else if (value.empty() &&
                 (a == "--script" || a == "--state-log" || a == "--audio-out" || a == "--config-dir" ||
                  a == "--replay" || a == "--record" || a == "--verify" || a == "--submit" || a == "--hall")) {
            error = a + " needs " + info->argument + ", not an empty name";
            return false;
        } else if (a == "--scale") {
            if (!ParseNumber(value, 1, kLargestScale, n))
                return bad("the scale must be a whole number from 1 to " + std::to_string(kLargestScale));
            out.scale = int(n);
        } else if (a == "--frames") {
            if (!ParseNumber(value, 1, INT64_MAX, n)) return bad("not a number of passes");
            out.frames = uint64_t(n);
        } else if (a == "--until-tick") {
            if (!ParseNumber(value, 0, UINT32_MAX, n)) return bad("not a tick count");
            out.untilTick = uint32_t(n);
        } else if (a == "--start-tick") {
            if (!ParseNumber(value, 0, UINT32_MAX, n)) return bad("not a tick count");
            out.startTick = uint32_t(n);
        } else if (a == "--autopilot") {
            if (!ParseNumber(value, 0, UINT32_MAX, n)) return bad("not a seed");
            out.autopilotSeed = uint32_t(n);
        } else if (a == "--script") out.script = value;
        else if (a == "--state-log") out.stateLog = value;
        else if (a == "--audio-out") out.audioOut = value;
        else if (a == "--config-dir") out.configDir = value;
        else if (a == "--replay") out.replay = value;
        else if (a == "--record") out.record = value;
        else if (a == "--submit") out.submit = value;
        else if (a == "--hall") out.hall = value;
        else if (a == "--name") out.name = value;
        else if (a == "--verify") out.verify = value;
        else if (a == "--screenshot") {
            size_t colon = value.find(':');
            if (colon == std::string::npos || colon + 1 >= value.size() ||
                !ParseNumber(value.substr(0, colon), 1, INT64_MAX, n))
                return bad("expected PASS:FILE.png");
            out.screenshots.push_back({uint64_t(n), value.substr(colon + 1)});
        } else if (a == "--display-props") {
            GXDisplayProperties p{};
            if (!ParseProps(value, p)) return bad("expected six numbers CX,CY,XPITCH,YPITCH,BPP,FORMAT");
            out.displayProps = p;
        }
    }
    // The check is all the run does.
    if (!out.verify.empty() && args.size() != 2) {
        error = "--verify goes alone";
        return false;
    }
    // A replay brings its own keys and clock, and is only watched (a script's keys are the
    // viewer's).
    if (!out.replay.empty()) {
        for (const char* o : {"--autopilot", "--start-tick", "--record"}) {
            for (const std::string& a : args)
                if (a == o) {
                    error = std::string(o) + " does not go with --replay";
                    return false;
                }
        }
    }
    // A game sent to a hall goes with the hall's address and a name (which the hall judges),
    // and with nothing else but the folder its kept games are in.
    const bool named = std::find(args.begin(), args.end(), "--name") != args.end();
    if (!out.submit.empty() || !out.hall.empty() || named) {
        if (out.submit.empty() || out.hall.empty() || !named) {
            error = "--submit, --hall and --name go together";
            return false;
        }
        if (out.headless || !out.replay.empty() || !out.record.empty() || !out.verify.empty() || out.autopilotSeed ||
            out.scale || out.fullscreen) {
            error = "--submit only sends a game: it goes with no option but --hall, --name and --config-dir";
            return false;
        }
    }
    if (!out.headless) {
        for (const char* o : {"--frames", "--until-tick", "--script", "--state-log", "--screenshot", "--audio-out",
                              "--display-props"}) {
            for (const std::string& a : args)
                if (a == o) {
                    error = std::string(o) + " goes with --headless";
                    return false;
                }
        }
    }
    return true;
}

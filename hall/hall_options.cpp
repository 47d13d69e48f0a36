// Parsing of the hall's command line against its table.
#include "hall/hall_options.h"
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace {
struct HallOption {
    const char* name;
    const char* argument;
    const char* help;
};
const std::vector<HallOption> table = {
    {"--help", nullptr, "show this help and exit"},
    {"--db", "FILE|postgresql://...", "where the games are kept (default: glimmo-hall.db, a SQLite file)"},
    {"--listen", "ADDRESS", "the address to listen on (default 127.0.0.1: this machine only)"},
    {"--port", "N", "the port to listen on (default 8630; 0: a free one)"},
    {"--web", "DIR", "the browser build (build/web) to serve at /play/, where games are watched"},
    {"--workers", "N", "processes that check replays (default: one per core)"},
    {"--threads", "N", "connections served at once (default 256)"},
    {"--max-bytes", "N", "the largest replay taken, in bytes (default 1048576)"},
    {"--per-minute", "N", "submissions a minute from one address (default 30; 0: no limit)"},
    {"--check-ms", "N", "a check that runs longer is stopped, in ms (default 2000)"},
};

bool Number(const std::string& s, long long lo, long long hi, long long& out) {
    if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    out = std::strtoll(s.c_str(), nullptr, 10);
    return !errno && out >= lo && out <= hi;
}
}  // namespace

bool ParseHallOptions(int argc, char** argv, HallOptions& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--check-worker") {
            out.checkWorker = true;
            continue;
        }
        if (arg == "--help") {
            out.help = true;
            continue;
        }
        bool known = false;
        for (const HallOption& o : table) known = known || (arg == o.name && o.argument);
        if (!known) {
            error = "unknown option " + arg + " (see --help)";
            return false;
        }
        if (i + 1 >= argc) {
            error = arg + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        long long n = 0;
        auto number = [&](long long lo, long long hi) {
            if (Number(value, lo, hi, n)) return true;
            error = arg + " takes a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) + ", not " +
                    value;
            return false;
        };
        if (arg == "--db") out.db = value;
        else if (arg == "--listen") out.listen = value;
        else if (arg == "--web") out.web = value;
        else if (arg == "--port") {
            if (!number(0, 65535)) return false;
            out.port = int(n);
        } else if (arg == "--workers") {
            if (!number(0, 256)) return false;
            out.workers = int(n);
        } else if (arg == "--threads") {
            if (!number(1, 1024)) return false;
            out.threads = int(n);
        } else if (arg == "--max-bytes") {
            if (!number(1, 64 << 20)) return false;
            out.maxBytes = size_t(n);
        } else if (arg == "--per-minute") {
            if (!number(0, 1000000)) return false;
            out.perMinute = int(n);
        } else if (arg == "--check-ms") {
            if (!number(1, 600000)) return false;
            out.checkMs = int(n);
        }
        if (value.empty()) {
            error = arg + " needs a value";
            return false;
        }
    }
    return true;
}

std::string HallHelpText() {
    std::string text =
        "usage: glimmo-hall [options]\n"
        "The hall of fame: takes replays of glimmo games over HTTP, plays each one, and lists\n"
        "the games that hold what they claim.\n\n";
    for (const HallOption& o : table) {
        std::string left = std::string("  ") + o.name + (o.argument ? std::string(" ") + o.argument : "");
        if (left.size() < 30) left.resize(30, ' ');
        else left += "\n" + std::string(30, ' ');
        text += left + o.help + "\n";
    }
    return text;
}

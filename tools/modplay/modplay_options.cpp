// The option table of glimmo-modplay, its parser and its --help text.
#include "tools/modplay/modplay_options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct OptionEntry {
    const char* name;
    const char* value;  // null: a flag
    const char* help;
    bool (*apply)(ModplayOptions& o, const char* value, std::string* error);
};

bool ParseNumber(const char* text, double low, double high, double& out) {
    char* end = nullptr;
    double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(v >= low && v <= high)) return false;
    out = v;
    return true;
}

const OptionEntry Options[] = {
    {"--out", "FILE.wav",
     "render offline through the virtual device into a WAV file, byte for byte what the mixer made",
     [](ModplayOptions& o, const char* v, std::string* e) {
         if (*v == 0 || std::strcmp(v, "-") == 0) {
             *e = std::string("--out needs the name of a WAV file, not ") + (*v ? "'-'" : "an empty name");
             return false;
         }
         o.out = v;
         return true;
     }},
    {"--rate", "HZ", "output rate: 11025, 22050 (default) or 44100",
     [](ModplayOptions& o, const char* v, std::string* e) {
         if (std::strcmp(v, "11025") && std::strcmp(v, "22050") && std::strcmp(v, "44100")) {
             *e = std::string("--rate must be 11025, 22050 or 44100, not ") + v;
             return false;
         }
         o.rate = uint32_t(std::atoi(v));
         return true;
     }},
    {"--mono", nullptr, "one output channel instead of two",
     [](ModplayOptions& o, const char*, std::string*) {
         o.mono = true;
         return true;
     }},
    {"--loop", nullptr, "restart the song at its end (with --out, give --seconds too)",
     [](ModplayOptions& o, const char*, std::string*) {
         o.loop = true;
         return true;
     }},
    {"--seconds", "S", "stop after S seconds",
     [](ModplayOptions& o, const char* v, std::string* e) {
         if (!ParseNumber(v, 0.001, 86400, o.seconds)) {
             *e = std::string("--seconds needs a number of seconds above 0, not ") + v;
             return false;
         }
         return true;
     }},
    {"--volume", "V", "module volume 0..64 (default 64)",
     [](ModplayOptions& o, const char* v, std::string* e) {
         double n;
         if (!ParseNumber(v, 0, 64, n) || n != double(int32_t(n))) {
             *e = std::string("--volume must be a whole number 0..64, not ") + v;
             return false;
         }
         o.volume = int32_t(n);
         return true;
     }},
    {"--separation", "P", "stereo separation 0..255 (default 255: channels 1 and 4 left, 2 and 3 right)",
     [](ModplayOptions& o, const char* v, std::string* e) {
         double n;
         if (!ParseNumber(v, 0, 255, n) || n != double(int32_t(n))) {
             *e = std::string("--separation must be a whole number 0..255, not ") + v;
             return false;
         }
         o.separation = int32_t(n);
         return true;
     }},
    {"--version", nullptr, "show the version and exit",
     [](ModplayOptions&, const char*, std::string*) -> bool {
         std::printf("glimmo-modplay %s\n", GLIMMO_VERSION);
         std::exit(0);
     }},
    {"--help", nullptr, "show this help",
     [](ModplayOptions& o, const char*, std::string*) {
         o.help = true;
         return true;
     }},
};

}  // namespace

bool ParseModplayOptions(int argc, char** argv, ModplayOptions& options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (arg[0] != '-' || std::strcmp(arg, "-") == 0) {
            if (!options.file.empty()) {
                *error = std::string("one module file only: ") + options.file + " and " + arg;
                return false;
            }
            options.file = arg;
            continue;
        }
        const OptionEntry* entry = nullptr;
        for (const OptionEntry& o : Options)
            if (std::strcmp(arg, o.name) == 0) entry = &o;
        if (std::strcmp(arg, "-h") == 0) entry = &Options[std::size(Options) - 1];
        if (!entry) {
            *error = std::string("unknown option ") + arg;
            return false;
        }
        const char* value = nullptr;
        if (entry->value) {
            if (i + 1 >= argc) {
                *error = std::string(entry->name) + " needs " + entry->value;
                return false;
            }
            value = argv[++i];
        }
        if (!entry->apply(options, value, error)) return false;
    }
    if (options.help) return true;
    if (options.file.empty()) {
        *error = "no module file given";
        return false;
    }
    if (!options.out.empty() && options.loop && options.seconds == 0) {
        *error = "--loop with --out never ends: give --seconds too";
        return false;
    }
    return true;
}

std::string ModplayHelp() {
    std::string text =
        "Usage: glimmo-modplay FILE [options]\n"
        "Plays a four-channel tracker module (31 samples) until the song ends (Ctrl-C stops it),\n"
        "or renders it into a WAV file. FILE - reads the module from standard input.\n\nOptions:\n";
    for (const OptionEntry& o : Options) {
        std::string left = std::string("  ") + o.name + (o.value ? std::string(" ") + o.value : "");
        if (std::strcmp(o.name, "--help") == 0) left += ", -h";
        if (left.size() < 22) left.resize(22, ' ');
        else left += "  ";
        text += left + o.help + "\n";
    }
    text +=
        "\nExit status: 0 played or written, 1 no audio device or the WAV could not be written,\n"
        "2 a bad command line, a file that is not a module, or an output that cannot be made.\n";
    return text;
}

// The command line of glimmo-modplay: one table of options gives both the parsing
// and the --help text.
#pragma once
#include <cstdint>
#include <string>

struct ModplayOptions {
    std::string file;
    std::string out;  // empty: play on the audio device
    uint32_t rate = 22050;
    bool mono = false;
    bool loop = false;
    double seconds = 0;  // 0: until the song ends
    int32_t volume = 64;
    int32_t separation = 255;
    bool help = false;
};

// Fills options from argv; false with a one-line reason in *error on a bad command line.
bool ParseModplayOptions(int argc, char** argv, ModplayOptions& options, std::string* error);
std::string ModplayHelp();

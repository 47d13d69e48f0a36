// glimmo-soundgen: renders the game's fourteen sound effects and writes them as the
// WAVE files of res/ (or of the folder given), byte for byte the same every run.
#include <cstdio>
#include <string>
#include "tools/soundgen/sound_files.h"

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : GLIMMO_RES_DIR;
    for (const auto& recipe : soundgen::SoundRecipes()) {
        std::vector<uint8_t> file = soundgen::SoundFile(recipe);
        std::string path = folder + "/" + recipe.file;
        FILE* out = std::fopen(path.c_str(), "wb");
        if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size()) {
            std::fprintf(stderr, "glimmo-soundgen: cannot write %s\n", path.c_str());
            if (out) std::fclose(out);
            return 1;
        }
        std::fclose(out);
        std::printf("%s  %u bytes of sound%s\n", path.c_str(), recipe.length, recipe.loop ? ", looped" : "");
    }
    return 0;
}

// glimmo-artgen [DIR]: draws the whole art set and writes it into DIR (by default the
// res/ folder of the source tree). A new sprite is an edit of the drawing code and a run.
#include <cstdio>
#include <fstream>
#include <string>
#include "tools/artgen/art_set.h"

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : GLIMMO_RES_DIR;
    for (const ArtFile& file : DrawArtSet()) {
        const std::string path = dir + "/" + file.name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.bytes.data()), std::streamsize(file.bytes.size()));
        if (!out) {
            std::fprintf(stderr, "glimmo-artgen: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s (%zu bytes)\n", path.c_str(), file.bytes.size());
    }
    return 0;
}

// Chooses each sound's file layout and builds its bytes.
#include "tools/soundgen/sound_files.h"
#include "tools/soundgen/wave_file.h"

namespace soundgen {

std::vector<uint8_t> SoundFile(const SoundRecipe& recipe) {
    WaveLayoutChoice layout;
    if (recipe.resource == 120) {
        layout.extensibleFormat = true;
        layout.infoChunkBytes = 436;
        layout.title = "Glimmo chomp";
    }
    return BuildWaveFile(RenderSound(recipe), layout);
}

}  // namespace soundgen

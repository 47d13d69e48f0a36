// The fourteen sound effects of the game, each rendered from its recipe: what it is
// for, which WAVE resource and file it becomes, its exact length and whether it loops.
#pragma once
#include <cstdint>
#include <vector>

namespace soundgen {

struct SoundRecipe {
    uint16_t resource;
    const char* file;
    uint32_t length;  // bytes (samples at 11025 Hz)
    bool loop;
    std::vector<double> (*render)(uint32_t length);
};

// All fourteen, in resource order.
const std::vector<SoundRecipe>& SoundRecipes();

// The 8-bit bytes of one recipe.
std::vector<uint8_t> RenderSound(const SoundRecipe& recipe);

}  // namespace soundgen

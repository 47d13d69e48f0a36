// The whole WAVE file of each generated sound, with the chunk layout its resource
// has (the chomp carries a 40-byte format chunk and a 436-byte INFO list).
#pragma once
#include <cstdint>
#include <vector>
#include "tools/soundgen/sound_recipes.h"

namespace soundgen {

std::vector<uint8_t> SoundFile(const SoundRecipe& recipe);

}  // namespace soundgen

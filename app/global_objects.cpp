// The game's global objects, built in their fixed order before the entry runs and torn
// down in reverse after it: seven surfaces, the sound system, fifteen sample slots and
// one module. Surfaces read the display properties when built, so the program picks its
// backend first.
#include "app/global_objects.h"
#include <vector>
#include "app/settings.h"
#include "app/volume_keys.h"
#include "game/game_sounds.h"
#include "gfx/art.h"

namespace {
std::vector<GlobalObjectSlot*> InOrder() {
    std::vector<GlobalObjectSlot*> slots;
    for (auto layer : {ArtSurfaceObjects(), GameSoundObjects()}) slots.insert(slots.end(), layer.begin(), layer.end());
    return slots;
}
}  // namespace

void ConstructGlobalObjects() {
    DestroyGlobalObjects();
    ConstructInOrder(InOrder());
    VolumeCounter = Sound * 5;
}

void DestroyGlobalObjects() { DestroyInReverse(InOrder()); }

// The volume keys: F6 louder, F7 quieter, a counter step per pass while held.
#include "app/volume_keys.h"
#include "app/settings.h"
#include "game/game_sounds.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "sound/sound_system.h"

int32_t VolumeCounter = 0;
uint8_t VolumeKeyActed = 0;
uint32_t VolumeKeyTick = 0;

namespace {
void Acted() {
    VolumeKeyActed = 1;
    VolumeKeyTick = GetTickCount();
}
}  // namespace

void ApplyVolumeKeys() {
    if (GetAsyncKeyState(VK_F6) != 0) {
        VolumeCounter = VolumeCounter + 1 < 320 ? VolumeCounter + 1 : 320;
        Sound = VolumeCounter / 5;
        Mixer.SetSampleMasterVolume(Sound);
        Acted();
    }
    if (GetAsyncKeyState(VK_F7) != 0) {
        VolumeCounter = VolumeCounter - 1 > 0 ? VolumeCounter - 1 : 0;
        Sound = VolumeCounter / 5;
        Mixer.SetSampleMasterVolume(Sound);
        Acted();
    }
}

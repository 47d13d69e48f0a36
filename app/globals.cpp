// The game's global objects, constructed in their fixed order before the entry runs
// and destroyed in reverse order after it: seven surfaces, the sound system, fifteen
// sample slots and one module. Surfaces read the display properties when constructed,
// so the program picks its backend before building them.
#include <new>
#include "entry.h"
#include "gfx/art.h"
#include "settings.h"
#include "sound/module.h"
#include "sound/sample.h"
#include "sound/sound_system.h"

namespace {
template <typename T, size_t N = 1>
struct Storage {
    alignas(T) unsigned char bytes[sizeof(T) * N];
    T* get() { return reinterpret_cast<T*>(bytes); }
};

Storage<Surface> mazeBackdrop, flashMaze, titleBackdrop, blackBackdrop, mazeCanvas, backBuffer, frameSurface;
Storage<SoundSystem> mixer;
Storage<Sample, 15> samples;
Storage<Module> module;
bool constructed = false;

Surface* const SurfacesInOrder[] = {mazeBackdrop.get(), flashMaze.get(),  titleBackdrop.get(), blackBackdrop.get(),
                                    mazeCanvas.get(),   backBuffer.get(), frameSurface.get()};
}  // namespace

Surface& MazeBackdrop = *mazeBackdrop.get();
Surface& FlashMaze = *flashMaze.get();
Surface& TitleBackdrop = *titleBackdrop.get();
Surface& BlackBackdrop = *blackBackdrop.get();
Surface& MazeCanvas = *mazeCanvas.get();
Surface& BackBuffer = *backBuffer.get();
Surface& FrameSurface = *frameSurface.get();
SoundSystem& Mixer = *mixer.get();
Sample (&GameSamples)[15] = *reinterpret_cast<Sample(*)[15]>(samples.bytes);
Module& GameModule = *module.get();

int32_t VolumeCounter = 0;

void ConstructGlobalObjects() {
    if (constructed) DestroyGlobalObjects();
    for (Surface* s : SurfacesInOrder) new (s) Surface();
    new (mixer.get()) SoundSystem();
    for (int i = 0; i < 15; ++i) new (&samples.get()[i]) Sample();
    new (module.get()) Module();
    VolumeCounter = Sound * 5;
    constructed = true;
}

void DestroyGlobalObjects() {
    if (!constructed) return;
    module.get()->~Module();
    for (int i = 14; i >= 0; --i) samples.get()[i].~Sample();
    mixer.get()->~SoundSystem();
    for (int i = 6; i >= 0; --i) SurfacesInOrder[i]->~Surface();
    constructed = false;
}

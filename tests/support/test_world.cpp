// A game world for tests, built the way the program builds it at start-up.
#include "tests/support/test_world.h"
#include <unistd.h>
#include <string>
#include "app/entry.h"
#include "app/global_objects.h"
#include "app/settings.h"
#include "app/volume_keys.h"
#include "game/game_sounds.h"
#include "gfx/display_access.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/registry_store.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "sound/sound_system.h"

namespace {
bool started = false;
std::string folder;
}  // namespace

HeadlessBackend& StartTestWorld(const TestWorldOptions& options) {
    StopTestWorld();
    HeadlessBackend& backend = UseHeadlessBackend(options.startTick);
    ResetMessageQueue();
    ResetKeyStates();
    ResetWindowState();
    char name[] = "/tmp/glimmo-test-XXXXXX";
    folder = mkdtemp(name) ? name : "/tmp";
    SetRegistryFolder(folder);
    UseVirtualWaveOut();
    ConstructGlobalObjects();
    AppInstance = ProgramInstance();
    if (options.openDisplay) OpenDisplay(nullptr);
    if (options.openSound) {
        Mixer.Open(22050, 0, 16, true);
        LoadGameSamples(AppInstance);
        Mixer.SetSampleMasterVolume(Sound);
    }
    started = true;
    return backend;
}

void StopTestWorld() {
    if (!started) return;
    Mixer.Close();
    CloseDisplay();
    DestroyGlobalObjects();
    RemoveRegistryFiles(folder);
    rmdir(folder.c_str());
    started = false;
}

// Fuzz target of the whole settings load: any bytes as the settings file give a best
// score and volume within range, the key clicks back as they were (or as a killed run
// kept them), nothing of them kept once given back, and a saved file that reads back
// whole with the same two values. Works in a folder of its own in RAM.
#include <stdlib.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "app/settings.h"
#include "platform/registry_store.h"

namespace {
const char* const ClickKey = "ControlPanel\\Sounds\\Keypress";
const char* const KeptClicksKey = "Software\\brix\\glimmo\\KeptKeyClicks";

// The scratch folder's name lives in a plain array, so the clean-up at exit can still read it.
char scratchFolder[64];

void RemoveScratchFolder() {
    RemoveRegistryFiles(scratchFolder);
    rmdir(scratchFolder);
}

std::string Folder() {
    if (!scratchFolder[0]) {
        std::strcpy(scratchFolder, "/dev/shm/glimmo-settings-fuzz-XXXXXX");
        if (!mkdtemp(scratchFolder)) {
            std::strcpy(scratchFolder, "/tmp/glimmo-settings-fuzz-XXXXXX");
            if (!mkdtemp(scratchFolder)) std::abort();
        }
        std::atexit(RemoveScratchFolder);
    }
    return scratchFolder;
}

void ResetGlobals() {
    HiScore = 0;
    Sound = 16;
    SavedBeepMode = 0;
    std::memset(SavedScript, 0, sizeof SavedScript);
    SavedScriptSize = 0;
    std::memset(SavedScriptLong, 0, sizeof SavedScriptLong);
    SavedScriptLongSize = 0;
}

const RegistryValue* Find(const RegistryTree& tree, const std::string& key, const std::string& name) {
    auto k = tree.find(key);
    if (k == tree.end()) return nullptr;
    auto v = k->second.find(name);
    return v == k->second.end() ? nullptr : &v->second;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string folder = Folder();
    const std::string path = folder + "/glimmo.reg";
    unlink((path + ".bad").c_str());
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    ResetGlobals();
    bool complete = false;
    const RegistryTree original = ParseRegistryText(std::string(reinterpret_cast<const char*>(data), size), &complete);
    SetRegistryFolder(folder);
    LoadSettings();
    if (HiScore < 0 || Sound < -SoundLimit || Sound > SoundLimit) std::abort();
    // A file not read whole is kept aside, never read again as if it were good.
    if (!complete && access((path + ".bad").c_str(), F_OK) != 0) std::abort();

    const int32_t hiScore = HiScore, sound = Sound;
    SaveSettings();  // also gives the key clicks back

    // Read what was saved, as the next start would.
    SetRegistryFolder(folder);
    const RegistryTree saved = LoadedRegistry();
    if (access((path + ".bad").c_str(), F_OK) == 0 && complete) std::abort();
    // The sound a killed run kept is given back first, and is what comes back at the end.
    const RegistryValue* before = Find(original, KeptClicksKey, "Script");
    if (!before || before->data.size() > SavedScriptLimit) before = Find(original, ClickKey, "Script");
    const RegistryValue* after = Find(saved, ClickKey, "Script");
    if (before && before->data.size() >= 1 && (!after || after->data != before->data)) std::abort();
    if (saved.count(KeptClicksKey)) std::abort();  // given back: no longer kept

    ResetGlobals();
    LoadSettings();
    if (HiScore != hiScore || Sound != sound) std::abort();
    RestoreKeyClicks();
    return 0;
}

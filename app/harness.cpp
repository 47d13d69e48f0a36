// The headless harness and the common run: settings folder, autopilot, script,
// state log, screenshots and the end of the run, around the game's own entry.
#include "app/harness.h"
#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include "app/autopilot.h"
#include "app/entry.h"
#include "app/global_objects.h"
#include "app/script.h"
#include "app/state_log.h"
#include "app/volume_keys.h"
#include "app/window_proc.h"
#include "game/maze.h"
#include "game/player.h"
#include "game/score.h"
#include "platform/clock.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/play_state.h"
#include "platform/png_writer.h"
#include "platform/registry_store.h"
#include "platform/resources.h"
#include "platform/window.h"

std::function<void(const PassInfo&)> OnPassEnd;

namespace {
void ApplySet(const ScriptEvent& e) {
    int32_t v = int32_t(e.value);
    if (e.name == "Level") Level = v;
    else if (e.name == "DotsEaten") DotsEaten = v;
    else if (e.name == "Score") Score = v;
    else if (e.name == "Lives") Player.lives = v;
}

std::string MakeTempFolder() {
    char name[] = "/tmp/glimmo-XXXXXX";
    const char* made = mkdtemp(name);
    return made ? made : "/tmp";
}

void RemoveTempFolder(const std::string& folder) {
    RemoveRegistryFiles(folder);
    rmdir(folder.c_str());
}
}  // namespace

int RunProgram(const CommandLine& cl) {
    ResetMessageQueue();
    ResetKeyStates();
    ResetWindowState();

    FILE* log = nullptr;
    if (!cl.stateLog.empty()) {
        log = std::fopen(cl.stateLog.c_str(), "w");
        if (!log) {
            std::fprintf(stderr, "glimmo: cannot write the state log %s\n", cl.stateLog.c_str());
            return 2;
        }
    }
    if (cl.autopilotSeed) EnableAutopilot(*cl.autopilotSeed);
    else DisableAutopilot();
    // A window with a desktop's manners asks what Escape means now; the headless backend never does.
    SetPlayStateSource(GamePlayState);
    PauseWhenPlayable = 0;
    VolumeKeyActed = 0;

    uint32_t start = GetTickCount();
    uint64_t passes = 0;
    LoopHooks& hooks = CurrentLoopHooks();
    hooks = LoopHooks{};
    if (cl.autopilotSeed) hooks.beforeMessage = [] { AutopilotPass(); };
    hooks.afterFrame = [&](const MSG& msg, uint32_t tick, FrameKind kind) {
        ++passes;
        if (OnPassEnd) OnPassEnd(PassInfo{passes, tick, &msg, kind});
        if (log) std::fputs(StateLine(passes, tick, msg, kind).c_str(), log);
        for (const ScreenshotRequest& s : cl.screenshots) {
            if (s.pass != passes) continue;
            const void* frame = CurrentBackend().LastFrame();
            if (!frame || !WriteFramePng(s.path, frame, CurrentBackend().DisplayProperties()))
                std::fprintf(stderr, "glimmo: could not write screenshot %s\n", s.path.c_str());
        }
        if (cl.frames && passes >= *cl.frames) return false;
        if (cl.untilTick && GetTickCount() - start >= *cl.untilTick) return false;
        return true;
    };

    ConstructGlobalObjects();
    int code = GameEntry(ProgramInstance(), nullptr, L"", SW_SHOW);
    DestroyGlobalObjects();
    hooks = LoopHooks{};
    if (log) std::fclose(log);
    return code;
}

int RunHeadless(const CommandLine& cl) {
    std::vector<ScriptEvent> events;
    if (!cl.script.empty()) {
        std::ifstream in(cl.script, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "glimmo: cannot read the script %s\n", cl.script.c_str());
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!ParseScript(text.str(), cl.startTick, events, error)) {
            std::fprintf(stderr, "glimmo: %s: %s\n", cl.script.c_str(), error.c_str());
            return 2;
        }
    }
    HeadlessBackend& backend = UseHeadlessBackend(cl.startTick, cl.displayProps.value_or(PortraitDisplay));
    backend.AddEvents(std::move(events));
    backend.onSet = ApplySet;

    std::string folder = cl.configDir.empty() ? MakeTempFolder() : cl.configDir;
    SetRegistryFolder(folder);
    UseVirtualWaveOut();
    if (!cl.audioOut.empty()) SetVirtualAudioOut(cl.audioOut);

    int code = RunProgram(cl);

    if (!cl.audioOut.empty() && !FinishVirtualAudioOut()) {
        std::fprintf(stderr, "glimmo: could not write %s\n", cl.audioOut.c_str());
        code = code ? code : 1;
    }
    if (cl.configDir.empty()) RemoveTempFolder(folder);
    SetBackend(nullptr);
    return code;
}

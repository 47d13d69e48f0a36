// The window's hints of the moment, from the pause flag, the phase and the volume keys.
#include "app/window_hints.h"
#include "app/volume_keys.h"
#include "app/window_proc.h"
#include "app/window_title.h"
#include "game/game_sounds.h"
#include "game/phase.h"
#include "platform/backend.h"
#include "platform/clock.h"

namespace {
ReplayHintSource replaySource = nullptr;
bool started = false;
uint32_t startTick = 0;
bool overSeen = false;  // GAME OVER was standing at the last pass
uint32_t overSince = 0;
}  // namespace

void SetReplayHintSource(ReplayHintSource source) { replaySource = source; }

HintSituation CurrentHintSituation(uint32_t now) {
    if (!started) started = true, startTick = now;
    HintSituation s;
    s.paused = Paused == 1;
    const bool title = GamePhase == PhaseTitle;
    s.helpAllowed = s.paused || title;
    const bool over = !s.paused && GamePhase == PhaseGameOver;
    if (over && !overSeen) overSince = now;
    overSeen = over;
    s.gameOver = over && now - overSince >= GameOverHintAfterMs;
    if (VolumeKeyActed == 1 && now - VolumeKeyTick < VolumeTitleMs) s.volume = Sound < 0 ? 0 : Sound;
    s.soundOff = Sound == 0 && title && now - startTick < SoundOffHintMs;
    if (replaySource) s.replay = replaySource();
    return s;
}

void UpdateWindowHints() {
    if (HasBackend()) CurrentBackend().SetHints(CurrentHintSituation(GetTickCount()));
}

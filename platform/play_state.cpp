// The game's state as the platform sees it, and the meaning of Escape that follows from it.
#include "platform/play_state.h"
#include "platform/win_types.h"

namespace {
PlayStateSource source = nullptr;
}

void SetPlayStateSource(PlayStateSource s) { source = s; }

PlayState CurrentPlayState() { return source ? source() : PlayState{}; }

int EscapeKey(const PlayState& state) { return state.gameInPlay && !state.paused ? VK_F10 : VK_ESCAPE; }

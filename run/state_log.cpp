// One line of the state log.
#include "run/state_log.h"
#include <cstdio>
#include "app/settings.h"
#include "app/window_proc.h"
#include "game/game_frame.h"
#include "game/ghosts.h"
#include "game/maze.h"
#include "game/phase.h"
#include "game/player.h"
#include "game/score.h"

std::string MessageName(const MSG& m) {
    char buf[48];
    switch (m.message) {
        case WM_TIMER: return "WM_TIMER";
        case WM_KEYDOWN: std::snprintf(buf, sizeof buf, "WM_KEYDOWN %u", unsigned(m.wParam)); return buf;
        case WM_KEYUP: std::snprintf(buf, sizeof buf, "WM_KEYUP %u", unsigned(m.wParam)); return buf;
        case WM_ACTIVATE: std::snprintf(buf, sizeof buf, "WM_ACTIVATE %u", unsigned(LOWORD(m.wParam))); return buf;
        case WM_PAINT: return "WM_PAINT";
        case WM_QUIT: return "WM_QUIT";
        default: std::snprintf(buf, sizeof buf, "0x%04X", m.message); return buf;
    }
}

std::string StateLine(uint64_t pass, uint32_t tick, const MSG& msg, FrameKind kind) {
    const char* screen = kind == FrameKind::Title ? "title" : kind == FrameKind::Pause ? "pause" : "game";
    char buf[1024];
    int n = std::snprintf(buf, sizeof buf,
                          "{\"pass\":%llu,\"tick\":%u,\"msg\":\"%s\",\"screen\":\"%s\",\"phase\":%d,\"paused\":%d,"
                          "\"level\":%d,\"score\":%d,\"hiscore\":%d,\"lives\":%d,\"dots\":%d,"
                          "\"player\":{\"x\":%d,\"y\":%d,\"dir\":%d,\"state\":%d,\"frame\":%d},\"ghosts\":[",
                          (unsigned long long)pass, tick, MessageName(msg).c_str(), screen, GamePhase, int(Paused),
                          Level, Score, HiScore, Player.lives, DotsEaten, Player.x, Player.y, Player.dir, Player.state,
                          Player.frame);
    std::string line(buf, size_t(n));
    for (int g = 0; g < 4; ++g) {
        const GhostRecord& gh = Ghosts[g];
        n = std::snprintf(buf, sizeof buf,
                          "%s{\"x\":%d,\"y\":%d,\"mode\":%d,\"dir\":%d,\"tx\":%d,\"ty\":%d,\"house\":%d}", g ? "," : "",
                          gh.x, gh.y, gh.mode, gh.dir, gh.targetX, gh.targetY, int(gh.inHouse));
        line.append(buf, size_t(n));
    }
    n = std::snprintf(buf, sizeof buf, "],\"fright\":%d,\"scene\":%d,\"sound\":%d}\n", int(FrightActive), SceneIndex,
                      Sound);
    line.append(buf, size_t(n));
    return line;
}

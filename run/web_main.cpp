// The glimmo program in a web page: the options come from the page's address, the
// browser backend stands in for the window, and the game runs as on the desktop.
#include "app/settings.h"
#include "platform/backend.h"
#include "platform/web/web_backend.h"
#include "run/command_line.h"
#include "run/program_run.h"
#include "run/state_log.h"

namespace {
// The last pass of the loop, for the page's state line.
struct LastPass {
    uint64_t pass = 0;
    uint32_t tick = 0;
    MSG msg{};
    FrameKind kind = FrameKind::Title;
} last;
}  // namespace

int main() {
    CommandLine cl;
    cl.autopilotSeed = ReadWebPageOptions().autopilotSeed;
    UseWebBackend("/glimmo");
    // The page closed or reloaded keeps what a quit keeps, as the desktop's session end does.
    SetDisplayLostHandler([] { return std::string(KeepSettingsAtSessionEnd() ? "the settings are kept" : ""); });
    OfferStateToPage([] { return last.pass ? StateLine(last.pass, last.tick, last.msg, last.kind) : std::string(); });
    LoopHooks watch;
    watch.afterFrame = [](const MSG& msg, uint32_t tick, FrameKind kind) {
        last = LastPass{last.pass + 1, tick, msg, kind};
        return true;
    };
    const int code = RunProgram(cl, watch);
    KeepSettingsInBrowser();
    SetBackend(nullptr);
    // The back key (from the pause screen or GAME OVER) has saved and ended the program; a
    // page has nowhere to go back to, so it starts afresh at the title, as closing and
    // opening the program again would. A program that never showed a frame is not started
    // again and again: the page says it has ended.
    if (last.pass > 0) StartPageAfresh();
    else ShowGameEnded();
    return code;
}

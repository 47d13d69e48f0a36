// The glimmo program in a web page: the options come from the page's address, the
// browser backend stands in for the window, and the game runs as on the desktop, every
// game recorded; or the page plays back the replay it was opened with.
#include "app/settings.h"
#include "platform/backend.h"
#include "platform/web/web_backend.h"
#include "platform/web/web_replay.h"
#include "run/command_line.h"
#include "run/program_run.h"
#include "run/replays.h"
#include "run/state_log.h"

namespace {
// The last pass of the loop, for the page's state line.
struct LastPass {
    uint64_t pass = 0;
    uint32_t tick = 0;
    MSG msg{};
    FrameKind kind = FrameKind::Title;
} last;
uint64_t passesShown = 0;

// Plays the replay the page was opened with, at the page's own pace and with the watching
// keys; what stopped it short, or why it cannot be played, is one line of the page's.
int Watch(CommandLine cl, const PageReplay& opened, Backend& backend) {
    SetDisplayLostHandler([] { return std::string("the replay stops"); });
    Replay replay;
    ReplayProblem problem;
    if (!opened.why.empty()) {
        ShowReplayEnded(opened.name + ": " + opened.why);
        return 2;
    }
    if (!ReadReplay(opened.text, replay, problem)) {
        ShowReplayEnded(opened.name + ": replay line " + std::to_string(problem.line) + ": " + problem.what);
        return 2;
    }
    // Not "best" or "last", which name the desktop's kept files.
    cl.replay = "the replay " + opened.name;
    const int code = RunReplay(cl, replay, backend);
    ShowReplayEnded(LastReplayFault());
    return code;
}
}  // namespace

int main() {
    CommandLine cl;
    cl.autopilotSeed = ReadWebPageOptions().autopilotSeed;
    cl.configDir = "/glimmo";
    Backend& backend = UseWebBackend(cl.configDir);
    KeepInBrowserToo({"last.replay", "best.replay"});
    OfferStateToPage([] { return last.pass ? StateLine(last.pass, last.tick, last.msg, last.kind) : std::string(); });
    OnPassEnd = [](const PassInfo& p) {
        last = LastPass{p.pass, p.tick, *p.msg, p.kind};
        ++passesShown;
        LogStateOnPage();
    };
    if (PageReplay opened = OpenPageReplay(); !opened.name.empty()) {
        const int code = Watch(cl, opened, backend);
        SetBackend(nullptr);
        return code;
    }
    // The page closed or reloaded keeps what a quit keeps, as the desktop's session end
    // does, and the game in play; each game kept is in the browser's storage at once.
    SetDisplayLostHandler(KeepAtSessionEnd);
    OnGameKept = KeepSettingsInBrowser;
    const int code = RunRecorded(cl, backend, true);
    KeepSettingsInBrowser();
    SetBackend(nullptr);
    // The back key (from the pause screen or GAME OVER) has saved and ended the program; a
    // page has nowhere to go back to, so it starts afresh at the title, as closing and
    // opening the program again would. A program that never showed a frame is not started
    // again and again: the page says it has ended.
    if (passesShown > 0) StartPageAfresh();
    else ShowGameEnded();
    return code;
}

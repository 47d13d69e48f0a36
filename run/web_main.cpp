// The glimmo program in a web page: the options come from the page's address, the
// browser backend stands in for the window, and the game runs as on the desktop.
#include "app/settings.h"
#include "platform/backend.h"
#include "platform/web/web_backend.h"
#include "run/command_line.h"
#include "run/program_run.h"

int main() {
    CommandLine cl;
    cl.autopilotSeed = ReadWebPageOptions().autopilotSeed;
    UseWebBackend("/glimmo");
    // The page closed or reloaded keeps what a quit keeps, as the desktop's session end does.
    SetDisplayLostHandler([] { return std::string(KeepSettingsAtSessionEnd() ? "the settings are kept" : ""); });
    int code = RunProgram(cl);
    KeepSettingsInBrowser();
    SetBackend(nullptr);
    ShowGameEnded();
    return code;
}

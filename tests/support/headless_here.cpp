// The headless backend and its recorded sound put in force, then the headless run.
#include "tests/support/headless_here.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/virtual_waveout.h"
#include "run/headless_run.h"

int RunHeadlessHere(const CommandLine& cl) {
    HeadlessBackend& backend = UseHeadlessBackend(cl.startTick, cl.displayProps.value_or(PortraitDisplay));
    UseVirtualWaveOut();
    return RunHeadless(cl, {backend, VirtualSoundRecorder()});
}

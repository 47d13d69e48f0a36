// Fuzz target of the command line: the bytes split at NULs into arguments. Any words are
// either a command line within the options' ranges (decimal numbers, no empty path) or a
// refusal that says what is wrong.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>
#include "run/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back() += char(data[i]);
    }
    CommandLine cl;
    std::string error;
    bool ok = ParseCommandLine(args, cl, error);
    if (ok != error.empty()) std::abort();
    if (!ok) return 0;
    if (cl.scale < 0 || cl.scale > 16) std::abort();
    if (cl.frames && *cl.frames == 0) std::abort();
    if (cl.displayProps) {
        const GXDisplayProperties& p = *cl.displayProps;
        if (p.cxWidth < 1 || p.cxWidth > 4096 || p.cyHeight < 1 || p.cyHeight > 4096) std::abort();
        if (p.cbxPitch < -65536 || p.cbxPitch > 65536 || p.cbyPitch < -65536 || p.cbyPitch > 65536) std::abort();
    }
    for (const ScreenshotRequest& s : cl.screenshots)
        if (s.path.empty()) std::abort();
    // A path option given is never empty, and every number was written in decimal digits.
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool takesValue = false;
        for (const OptionInfo& o : Options()) takesValue |= a == o.name && o.argument;
        if (!takesValue) continue;
        const std::string& value = args[++i];
        if ((a == "--script" || a == "--state-log" || a == "--audio-out" || a == "--config-dir") && value.empty())
            std::abort();
        if ((a == "--scale" || a == "--frames" || a == "--until-tick" || a == "--start-tick" || a == "--autopilot") &&
            value.find_first_not_of("0123456789") != std::string::npos)
            std::abort();
    }
    return 0;
}

// glimmo-submit: what glimmo --submit runs to send a game to a hall of fame. It reads the
// same command line as glimmo.
#include <cstdio>
#include <string>
#include <vector>
#include "run/command_line.h"
#include "run/submit.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, cl, error) || cl.submit.empty()) {
        std::fprintf(stderr, "glimmo: %s\n",
                     error.empty() ? "glimmo-submit takes --submit FILE --hall URL --name NAME" : error.c_str());
        return 2;
    }
    return RunSubmit(cl);
}

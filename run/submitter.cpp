// Finding glimmo-submit: beside this program (a build folder), or where the install puts it
// relative to the games folder.
#include "run/submitter.h"
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

int StartSubmitter(char** argv) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string dir =
        n > 0 ? std::string(self, size_t(n)).substr(0, std::string(self, size_t(n)).rfind('/') + 1) : std::string("./");
    const std::string places[] = {dir + "glimmo-submit", dir + GLIMMO_SUBMITTER_FROM_GAMES};
    int why = ENOENT;
    for (const std::string& place : places) {
        argv[0] = const_cast<char*>(place.c_str());
        execv(place.c_str(), argv);
        why = errno == ENOENT ? why : errno;
    }
    std::fprintf(stderr, "glimmo: cannot start glimmo-submit (looked for %s and %s): %s\n", places[0].c_str(),
                 places[1].c_str(), std::strerror(why));
    return 1;
}

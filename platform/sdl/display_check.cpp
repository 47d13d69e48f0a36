// Telling a real display from SDL's windowless fall-backs.
#include "platform/sdl/display_check.h"
#include <sstream>

bool DriverShowsAWindow(const std::string& driver, const std::string& requested) {
    if (driver != "offscreen" && driver != "dummy") return true;
    std::istringstream names(requested);
    std::string name;
    while (std::getline(names, name, ','))
        if (name == driver) return true;
    return false;
}

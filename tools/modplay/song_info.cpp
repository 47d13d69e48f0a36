// The title of a module image and the one check the command makes before playing.
#include "tools/modplay/song_info.h"

#include "sound/module_image.h"

std::string SongTitle(const uint8_t* data, size_t size) {
    std::string title;
    for (size_t i = 0; i < ModuleTitleBytes && i < size && data[i] != 0; ++i)
        title += (data[i] >= 32 && data[i] < 127) ? char(data[i]) : '?';
    return title;
}

std::string WhyNotAModule(size_t size) {
    // Shorter than the header and order list, a file cannot say what to play.
    if (size < ModulePatternsAt)
        return std::to_string(size) + " bytes, shorter than the " + std::to_string(ModulePatternsAt) +
               "-byte header of a module";
    return "";
}

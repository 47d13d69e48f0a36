// The title of a module image and the checks the command makes before playing it.
#include "tools/modplay/song_info.h"

#include "sound/module_image.h"

std::string SongTitle(const uint8_t* data, size_t size) {
    std::string title;
    for (size_t i = 0; i < ModuleTitleBytes && i < size && data[i] != 0; ++i)
        title += (data[i] >= 32 && data[i] < 127) ? char(data[i]) : '?';
    return title;
}

std::string WhyNotAModule(const uint8_t* data, size_t size) {
    // Shorter than the header and order list, a file cannot say what to play.
    if (size < ModulePatternsAt)
        return std::to_string(size) + " bytes, shorter than the " + std::to_string(ModulePatternsAt) +
               "-byte header of a module";
    const std::string tag(reinterpret_cast<const char*>(data) + ModuleTagAt, 4);
    if (tag != "M.K." && tag != "M!K!" && tag != "FLT4" && tag != "4CHN")
        return "no four-channel signature at byte 1080 (M.K., M!K!, FLT4 or 4CHN)";
    const size_t patterns = ImagePatternCount(data, size);
    const size_t needed = ModulePatternsAt + patterns * ModulePatternBytes;
    if (size < needed)
        return "its " + std::to_string(patterns) + " patterns need " + std::to_string(needed) + " bytes, it has " +
               std::to_string(size);
    return "";
}

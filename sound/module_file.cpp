// The check of a module file, beside the module loader: the signature at byte 1080 and
// the size its patterns need.
#include "sound/module_file.h"

#include "sound/module_image.h"

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

// The title of a module image, as the command shows it before playing.
#include "tools/modplay/song_info.h"

#include "sound/module_image.h"

std::string SongTitle(const uint8_t* data, size_t size) {
    std::string title;
    for (size_t i = 0; i < ModuleTitleBytes && i < size && data[i] != 0; ++i)
        title += (data[i] >= 32 && data[i] < 127) ? char(data[i]) : '?';
    return title;
}

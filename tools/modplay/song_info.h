// What glimmo-modplay tells about a module before playing it: its title. Whether the
// file is a module at all is the format's own check (sound/module_file.h).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The title, printable characters only, up to its first zero byte.
std::string SongTitle(const uint8_t* data, size_t size);

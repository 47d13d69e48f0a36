// What glimmo-modplay tells about a module before playing it: its title and song
// length, and whether the file is a four-channel module at all.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The title, printable characters only, up to its first zero byte.
std::string SongTitle(const uint8_t* data, size_t size);

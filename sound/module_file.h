// What makes a file a module the player can take: its four-channel signature, and
// the bytes of every pattern its song plays.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Empty when the image is a four-channel module (its signature at byte 1080 is M.K.,
// M!K!, FLT4 or 4CHN, and it holds its header and every pattern it plays); otherwise
// why it is not one.
std::string WhyNotAModule(const uint8_t* data, size_t size);

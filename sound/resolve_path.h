// Turning a file name into a full path: names beginning with '/' are full paths,
// any other name is taken relative to the executable's own folder.
#pragma once
#include <cstdint>
#include "platform/win_types.h"

constexpr uint32_t ResolvePathChars = 512;

// Writes the full path into buffer (ResolvePathChars wide characters, terminated) and
// returns its length; 0 when the path cannot be made or would not fit. The file system
// takes the result as BytesFromWide (platform/path_bytes.h) gives it back.
uint32_t ResolvePath(WCHAR* buffer, const WCHAR* name);

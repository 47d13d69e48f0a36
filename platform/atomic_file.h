// Writing a whole file so that it is always the old one or the new one, never a mix:
// a temporary file beside it, flushed to the disk, then renamed over it.
#pragma once
#include <string>

// Makes the folder and those above it as needed. False when one cannot be made.
bool MakeFolders(const std::string& folder);
// Writes `bytes` to `path` through `path`.tmp. On failure returns false with `error` set
// to one line saying what failed; the file at `path` is then as it was.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error);

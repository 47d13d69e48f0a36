// Writing a whole file so that it is always the old one or the new one, never a mix: a
// new temporary file beside it, under a name of this process's own, flushed to the disk,
// then renamed over it. The settings and the kept replays are written this way.
#pragma once
#include <sys/types.h>
#include <string>

// Makes the folder and those above it as needed. False when one cannot be made.
bool MakeFolders(const std::string& folder);
// The folder a path is in: "." for a bare name.
std::string FolderOf(const std::string& path);
// Writes `bytes` to `path` with the permission bits `mode`, clearing away first the
// temporary files of writes to it that were killed half-way. On failure returns false
// with `error` (when given) set to one line saying what failed; `path` is then as it was.
// A file not `durable` (one in a folder removed after the run) skips the fsyncs, which
// only guard against a crash of the machine.
// Its folder is made when missing, unless `makeFolder` is false (a folder the user named).
bool WriteFileAtomically(const std::string& path, const std::string& bytes, mode_t mode, std::string* error,
                         bool durable = true, bool makeFolder = true);
// The file a path names, links followed: a write there leaves a link (as dotfile managers
// make) a link.
std::string FollowLinks(std::string path);
// Why WriteFileAtomically could not put a file at `path` in a folder that is there: ""
// when it can (a regular file, or a link to one, or a new name where new files can be
// made, which is tried), else one line for the user.
std::string WhyNotReplaceable(const std::string& path);

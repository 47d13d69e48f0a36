// Bounded reading of input files, and the checks of paths behind the harness's and the
// module player's one-line refusals.
#include "platform/input_file.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {
std::string Kind(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a file";
}

std::string Lower(const char* text) {
    std::string s = text;
    if (!s.empty()) s[0] = char(std::tolower(static_cast<unsigned char>(s[0])));
    return s;
}

std::string TooLong(size_t limit) { return "longer than " + std::to_string(limit) + " bytes"; }
}  // namespace

std::string WhatIsThere(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return Lower(std::strerror(errno));
    return Kind(st.st_mode);
}

std::string ReadInputDescriptor(int fd, size_t limit, std::string& bytes) {
    bytes.clear();  // its room is kept
    char block[65536];
    for (;;) {
        ssize_t got = read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Lower(std::strerror(errno));
        if (got == 0) return "";
        // One byte past the limit is enough to know; nothing more is kept.
        if (bytes.size() + size_t(got) > limit) {
            bytes.clear();
            return TooLong(limit);
        }
        bytes.append(block, size_t(got));
    }
}

std::string ReadInputFile(const std::string& path, size_t limit, bool filesOnly, std::string& bytes) {
    bytes.clear();
    // Looked at before opening: opening a pipe would wait for a writer.
    std::string kind = WhatIsThere(path);
    if (kind == "a folder" || (filesOnly && !kind.empty())) return kind;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Lower(std::strerror(errno));
    struct stat st {};
    std::string why;
    if (fstat(fd, &st) != 0) why = Lower(std::strerror(errno));
    else if (S_ISDIR(st.st_mode) || (filesOnly && !S_ISREG(st.st_mode))) why = Kind(st.st_mode);
    else if (S_ISREG(st.st_mode) && uint64_t(st.st_size) > limit) why = TooLong(limit);
    else {
        // A file's size is known: its bytes are read into room made once.
        if (S_ISREG(st.st_mode)) bytes.reserve(size_t(st.st_size) + 1);
        why = ReadInputDescriptor(fd, limit, bytes);
    }
    close(fd);
    return why;
}

std::string WhyNotWritable(const std::string& path) {
    if (path.empty()) return "an empty name";
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return "a folder";
        return access(path.c_str(), W_OK) == 0 ? "" : Lower(std::strerror(errno));
    }
    if (errno != ENOENT) return Lower(std::strerror(errno));
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    if (stat(folder.c_str(), &st) != 0) return errno == ENOENT ? "no such folder" : Lower(std::strerror(errno));
    if (!S_ISDIR(st.st_mode)) return folder + " is not a folder";
    return access(folder.c_str(), W_OK | X_OK) == 0 ? "" : Lower(std::strerror(errno));
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    std::error_code ea, eb;
    const auto ca = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ea), ea);
    const auto cb = std::filesystem::weakly_canonical(std::filesystem::absolute(b, eb), eb);
    return !ea && !eb && ca == cb;
}

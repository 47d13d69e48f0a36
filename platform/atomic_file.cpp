// Whole-file writes through a temporary file of the process's own, fsync and rename.
#include "platform/atomic_file.h"
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

// The temporary file of a write, beside the file it will replace: always a new file, under
// a name of this process's own (its number and a random one), never reached through a link.
int CreateTemporaryFile(const std::string& target, std::string& name) {
    static std::mt19937_64 draw{std::random_device{}()};
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".tmp-%ld-%016llx", long(getpid()),
                      static_cast<unsigned long long>(draw()));
        name = target + suffix;
        int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The temporary files of writes killed half-way: their process is gone.
void RemoveStaleTemporaryFiles(const std::string& target) {
    const std::string prefix = target.substr(target.rfind('/') + 1) + ".tmp-";
    DIR* d = opendir(FolderOf(target).c_str());
    if (!d) return;
    while (const dirent* entry = readdir(d)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0) continue;
        long pid = std::strtol(entry->d_name + prefix.size(), nullptr, 10);
        if (pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH) unlinkat(dirfd(d), entry->d_name, 0);
    }
    closedir(d);
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

}  // namespace

bool MakeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        }
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, mode_t mode, std::string* error,
                         bool durable, bool makeFolder) {
    auto fail = [&](const std::string& what, int why) {
        if (error) *error = what + ": " + std::strerror(why);
        return false;
    };
    const std::string folder = FolderOf(path);
    if (makeFolder && !MakeFolders(folder)) return fail("cannot create " + folder, errno);
    RemoveStaleTemporaryFiles(path);
    std::string temp;
    int fd = CreateTemporaryFile(path, temp);
    if (fd < 0) return fail("cannot write in " + folder, errno);
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && (!durable || fsync(fd) == 0);
    int why = errno;
    if (close(fd) != 0 && ok) ok = false, why = errno;
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) ok = false, why = errno;
    if (!ok) {
        unlink(temp.c_str());
        return fail("cannot write " + path, why);
    }
    // Make the rename itself durable.
    int dir = durable ? open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        char link[4096];
        ssize_t n = readlink(path.c_str(), link, sizeof link);
        if (n <= 0 || size_t(n) == sizeof link) break;
        std::string to(link, size_t(n));
        path = to[0] == '/' ? to : FolderOf(path) + "/" + to;
    }
    return path;
}

std::string WhyNotReplaceable(const std::string& path) {
    auto lower = [](int error) {
        std::string s = std::strerror(error);
        if (!s.empty()) s[0] = char(std::tolower(static_cast<unsigned char>(s[0])));
        return s;
    };
    const std::string target = FollowLinks(path);
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return "it is a folder";
        if (S_ISFIFO(st.st_mode)) return "it is a pipe, not a file";
        if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "it is a device, not a file";
        if (!S_ISREG(st.st_mode)) return "it is not a file";
    } else if (errno != ENOENT) {
        return lower(errno);
    } else if (target != path) {
        return "it is a link to nothing";
    }
    // The file is written beside itself and renamed: try making one there.
    const std::string folder = FolderOf(target);
    if (stat(folder.c_str(), &st) != 0) return errno == ENOENT ? "no such folder " + folder : lower(errno);
    if (!S_ISDIR(st.st_mode)) return folder + " is not a folder";
    std::string temp;
    int fd = CreateTemporaryFile(target, temp);
    if (fd < 0) return "cannot write in " + folder + ": " + lower(errno);
    close(fd);
    unlink(temp.c_str());
    return "";
}

// Finding the pictures folder and the next free screenshot name.
#include "platform/sdl/screenshot_names.h"
#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
// The value between the quotes, with the shell's backslash escapes undone.
bool Unquote(const std::string& raw, std::string* out) {
    size_t open = raw.find('"');
    if (open == std::string::npos) return false;
    out->clear();
    for (size_t i = open + 1; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '"') return true;
        if (c == '\\' && i + 1 < raw.size()) c = raw[++i];
        *out += c;
    }
    return false;
}

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}
}  // namespace

std::string PicturesDirFromUserDirs(const std::string& userDirsText, const std::string& home) {
    std::istringstream lines(userDirsText);
    std::string line, found;
    while (std::getline(lines, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, 17, "XDG_PICTURES_DIR=") != 0) continue;
        std::string value;
        if (!Unquote(line.substr(start + 17), &value)) continue;
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
            if (home.empty()) continue;
            found = home + value.substr(5);
        } else if (!value.empty() && value[0] == '/') {
            found = value;
        }
        // A later line wins, as when the shell sources the file.
    }
    return found;
}

std::string ChoosePicturesFolder(const std::string& environment, const std::string& userDirsText,
                                 const std::string& home) {
    if (!environment.empty() && environment[0] == '/') return environment;
    std::string fromFile = PicturesDirFromUserDirs(userDirsText, home);
    if (!fromFile.empty()) return fromFile;
    if (!home.empty()) return home + "/Pictures";
    return ".";
}

bool MakeFolders(const std::string& path, std::string* problem) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (!error && std::filesystem::is_directory(path, error)) return true;
    if (problem) *problem = "cannot make the folder " + path + (error ? ": " + error.message() : "");
    return false;
}

std::string FirstFreeScreenshotPath(const std::string& folder, const PathTest& exists) {
    for (int n = 1; n <= 99; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "glimmo-%02d.png", n);
        std::string path = folder + "/" + name;
        if (!exists(path)) return path;
    }
    return {};
}

std::string NextScreenshotPath(std::string* problem) {
    const char* homeEnv = std::getenv("HOME");
    std::string home = homeEnv ? homeEnv : "";
    const char* configEnv = std::getenv("XDG_CONFIG_HOME");
    std::string config = (configEnv && configEnv[0] == '/') ? configEnv : home.empty() ? "" : home + "/.config";
    std::string userDirs;
    if (!config.empty()) {
        std::ifstream file(config + "/user-dirs.dirs");
        std::ostringstream text;
        text << file.rdbuf();
        userDirs = text.str();
    }
    const char* picturesEnv = std::getenv("XDG_PICTURES_DIR");
    std::string folder = ChoosePicturesFolder(picturesEnv ? picturesEnv : "", userDirs, home);
    if (!MakeFolders(folder, problem)) return {};
    std::string path = FirstFreeScreenshotPath(folder, Exists);
    if (path.empty() && problem)
        *problem = "no free name left in " + folder + " (glimmo-01.png to glimmo-99.png are taken)";
    return path;
}

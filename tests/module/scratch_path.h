// Where the module tests write their files: a folder of this run's own under the temp
// folder, so that two runs at once (a sanitizer build beside the normal one) never write
// into or remove each other's files.
#pragma once
#include <unistd.h>
#include <filesystem>
#include <string>

inline std::string ScratchPath(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("glimmo-module-tests-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

// What a settings file left by a run holds, read as the next start would: whether it
// reads whole, and the best score and volume in it (-1 when absent).
#pragma once
#include <cstdint>
#include <string>
#include "platform/registry_store.h"
#include "tests/support/run_glimmo.h"

struct SavedValues {
    bool complete = false;
    int64_t hiScore = -1;
    int64_t sound = -1;
};

inline SavedValues ReadSaved(const std::string& path) {
    SavedValues v;
    RegistryTree tree = ParseRegistryText(ReadWholeFile(path), &v.complete);
    auto number = [&](const char* name) -> int64_t {
        auto& values = tree["Software\\brix\\glimmo"];
        auto it = values.find(name);
        if (it == values.end() || it->second.data.size() != 4) return -1;
        const auto& d = it->second.data;
        return int64_t(uint32_t(d[0]) | uint32_t(d[1]) << 8 | uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24);
    };
    v.hiScore = number("HiScore");
    v.sound = number("Sound");
    return v;
}

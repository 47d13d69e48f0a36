// The settings store behind the registry calls: a REGEDIT4 text file, read once,
// written atomically (temporary file, fsync, rename) whenever a changed key is closed.
// A file that cannot be read is kept aside as glimmo.reg.bad and the values that could
// be read are kept; a folder that cannot be written costs one line on stderr.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct RegistryValue {
    uint32_t type;
    std::vector<uint8_t> data;
};
using RegistryKeyValues = std::map<std::string, RegistryValue>;
using RegistryTree = std::map<std::string, RegistryKeyValues>;  // key path without the root

// Where the file lives (created when first saved). Forgets what was loaded.
void SetRegistryFolder(const std::string& folder);
std::string RegistryFilePath();
// The default folder: $XDG_CONFIG_HOME/glimmo, else ~/.config/glimmo.
std::string DefaultRegistryFolder();

RegistryTree& LoadedRegistry();  // loads the file on first use
bool SaveRegistry();             // false (and one line on stderr) when it cannot be written

// Parsing and printing of the REGEDIT4 text; `complete` tells whether every line was understood.
RegistryTree ParseRegistryText(const std::string& text, bool* complete);
std::string FormatRegistryText(const RegistryTree& tree);

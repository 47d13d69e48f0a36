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

// The settings file in a folder, and the two that stand beside it for a while: a
// damaged file kept aside, and the temporary file of a save.
std::string SettingsFileIn(const std::string& folder);
std::string DamagedFileIn(const std::string& folder);
std::string SavingFileIn(const std::string& folder);
// Removes the settings file and those beside it from a folder (temporary folders, tests).
void RemoveRegistryFiles(const std::string& folder);

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

// The settings store behind the registry calls: a REGEDIT4 text file, read when first
// used, written atomically (a new temporary file, fsync, rename) when a key is closed
// and a value differs from the file. A file that cannot be read whole (or is over 1 MB,
// or is a pipe or a device) is kept aside as glimmo.reg.bad and the values that could
// be read are kept; a folder that cannot be written costs one line on stderr. A settings
// file that is a link is saved where it points; a read-only one is left alone.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct RegistryValue {
    uint32_t type;
    std::vector<uint8_t> data;
    bool operator==(const RegistryValue&) const = default;
};
using RegistryKeyValues = std::map<std::string, RegistryValue>;
using RegistryTree = std::map<std::string, RegistryKeyValues>;  // key path without the root

// The settings file in a folder, and the newest damaged file kept aside beside it (the
// older ones are DamagedFileIn(folder) + ".1" to ".4").
std::string SettingsFileIn(const std::string& folder);
std::string DamagedFileIn(const std::string& folder);
// Removes the settings file and the files named after it (damaged files kept aside,
// temporary files of saves) from a folder: temporary folders, tests.
void RemoveRegistryFiles(const std::string& folder);

// Where the file lives (created when first saved); "" for nowhere. Forgets what was loaded.
// A folder made for one run and removed after it is not kept: its saves skip the fsyncs,
// which only guard against a crash of the machine.
void SetRegistryFolder(const std::string& folder, bool keptAfterTheRun = true);
std::string RegistryFilePath();  // "" when there is no folder
// The default folder: $XDG_CONFIG_HOME/glimmo, else $HOME/.config/glimmo; "" when neither
// names a folder (never the current one).
std::string DefaultRegistryFolder();

RegistryTree& LoadedRegistry();  // loads the file on first use
// Forgets what was loaded: the next use reads the file again, as another copy may have
// saved it meanwhile.
void ReloadRegistry();
// True when the file holds the values (written now, or already); false, with one line
// on stderr the first time, when it cannot be written.
bool SaveRegistry();

// Parsing and printing of the REGEDIT4 text; `complete` tells whether every line was understood.
RegistryTree ParseRegistryText(const std::string& text, bool* complete);
std::string FormatRegistryText(const RegistryTree& tree);

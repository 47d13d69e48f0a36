// REGEDIT4 file store of the settings.
#include "platform/registry_store.h"
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include "platform/atomic_file.h"
#include "platform/byte_order.h"
#include "platform/path_bytes.h"
#include "platform/registry.h"

namespace {
// A settings file is a few hundred bytes; a thousand times that is not one.
constexpr size_t SettingsFileLimit = 1 << 20;
// Damaged files kept aside: glimmo.reg.bad, the newest, then .bad.1 to .bad.4.
constexpr int DamagedFilesKept = 5;

// The settings folder: not chosen yet (the default is taken on first use), or chosen; an
// empty name is no folder at all, where nothing is read or written.
std::optional<std::string> folder;
std::optional<RegistryTree> tree;
// The file's values as last read or written; none when that is not known.
std::optional<RegistryTree> onDisk;
bool warnedUnwritable = false;
bool durable = true;  // saves reach the disk before the rename (fsync)
const std::string RootName = "HKEY_CURRENT_USER\\";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHexBytes(const std::string& s, std::vector<uint8_t>& out) {
    out.clear();
    size_t i = 0;
    while (i < s.size()) {
        if (i + 1 >= s.size()) return false;
        int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(uint8_t(hi << 4 | lo));
        i += 2;
        if (i < s.size()) {
            if (s[i] != ',') return false;
            ++i;
            if (i == s.size()) return false;
        }
    }
    return true;
}

// A string value's bytes as the registry keeps them: UTF-16 units, little-endian, with the
// terminator. The text is read as names and paths are (platform/path_bytes.h), so any
// byte of the file comes back unchanged when the string is written out again.
std::vector<uint8_t> StringUnits(const std::string& text) {
    std::vector<uint8_t> out;
    for (wchar_t w : WideFromBytes(text)) {
        uint32_t c = uint32_t(w);
        if (c >= 0x10000) {
            AppendU16LE(out, 0xD800 + ((c - 0x10000) >> 10));
            AppendU16LE(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            AppendU16LE(out, c);
        }
    }
    AppendU16LE(out, 0);
    return out;
}

// The quoted text of a string value after its opening quote, with REGEDIT4's two escapes
// (\\ and \"), running to the end of the line; false for anything else.
bool ParseQuoted(const std::string& s, std::string& text) {
    text.clear();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"') return i + 1 == s.size();
        if (s[i] == '\\') {
            if (++i == s.size() || (s[i] != '\\' && s[i] != '"')) return false;
        }
        text += s[i];
    }
    return false;  // no closing quote
}

// A REG_SZ value as a quoted string, when it is one: a single terminator at the end, no
// line breaks, and text that reads back to the very same bytes. Else nothing.
std::optional<std::string> QuotedString(const std::vector<uint8_t>& data) {
    if (data.size() < 2 || data.size() % 2 != 0) return std::nullopt;
    std::wstring wide;
    size_t units = data.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        uint32_t u = ReadU16LE(&data[2 * i]);
        if ((u == 0) != (i + 1 == units) || u == '\n' || u == '\r') return std::nullopt;
        if (u >= 0xD800 && u <= 0xDBFF && i + 2 < units) {
            uint32_t low = ReadU16LE(&data[2 * i + 2]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (u != 0) wide += wchar_t(u);
    }
    std::string text = BytesFromWide(wide);
    if (StringUnits(text) != data) return std::nullopt;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// "name"=dword:0000001f | "name"=hex(N):aa,bb | "name"=hex:aa,bb | "name"="text"
bool ParseValueLine(const std::string& line, std::string& name, RegistryValue& value) {
    if (line.size() < 4 || line[0] != '"') return false;
    size_t close = line.find('"', 1);
    if (close == std::string::npos || close + 1 >= line.size() || line[close + 1] != '=') return false;
    name = line.substr(1, close - 1);
    if (name.empty() || name.find('\\') != std::string::npos) return false;
    std::string rest = line.substr(close + 2);
    if (rest.rfind("\"", 0) == 0) {
        std::string text;
        if (!ParseQuoted(rest.substr(1), text)) return false;
        value.type = REG_SZ;
        value.data = StringUnits(text);
        return true;
    }
    if (rest.rfind("dword:", 0) == 0) {
        std::string digits = rest.substr(6);
        if (digits.size() != 8) return false;
        uint32_t v = 0;
        for (char c : digits) {
            int d = HexDigit(c);
            if (d < 0) return false;
            v = v << 4 | uint32_t(d);
        }
        value.type = REG_DWORD;
        value.data.assign(4, 0);
        WriteU32LE(value.data.data(), v);
        return true;
    }
    if (rest.rfind("hex:", 0) == 0) {
        value.type = REG_BINARY;
        return ParseHexBytes(rest.substr(4), value.data);
    }
    if (rest.rfind("hex(", 0) == 0) {
        size_t end = rest.find("):");
        if (end == std::string::npos || end == 4 || end > 12) return false;
        uint32_t type = 0;
        for (size_t i = 4; i < end; ++i) {
            int d = HexDigit(rest[i]);
            if (d < 0) return false;
            type = type << 4 | uint32_t(d);
        }
        value.type = type;
        return ParseHexBytes(rest.substr(end + 2), value.data);
    }
    return false;
}

void WarnOnce(const std::string& what) {
    if (warnedUnwritable) return;
    warnedUnwritable = true;
    std::fprintf(stderr, "glimmo: %s; the best score and volume will not be kept\n", what.c_str());
}

std::string NumberedDamagedFile(const std::string& f, int n) {
    return n == 0 ? DamagedFileIn(f) : DamagedFileIn(f) + "." + std::to_string(n);
}

// The settings file moved out of the way and kept for the player as glimmo.reg.bad; those
// kept before move up a number, and the oldest goes.
void KeepAside(const std::string& path, const char* why) {
    for (int n = DamagedFilesKept - 1; n > 0; --n)
        std::rename(NumberedDamagedFile(*folder, n - 1).c_str(), NumberedDamagedFile(*folder, n).c_str());
    const std::string aside = DamagedFileIn(*folder);
    if (std::rename(path.c_str(), aside.c_str()) != 0) return;
    std::fprintf(stderr, "glimmo: %s %s; kept aside as %s\n", path.c_str(), why, aside.c_str());
    onDisk.emplace();  // no file there now
}

enum class FileState { Absent, Read, NotAFile, TooLarge, Unreadable };

// The settings file's bytes, up to the limit; a pipe or a device is not waited on, nor read.
FileState ReadSettingsFile(const std::string& path, std::string& bytes) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return FileState::Absent;
    // A link to nothing yet is no file yet: the first save makes the file it names.
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? FileState::Absent : FileState::Unreadable;
    if (!S_ISREG(st.st_mode)) return FileState::NotAFile;
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return FileState::Unreadable;
    FileState state = FileState::Read;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) state = FileState::NotAFile;  // swapped meanwhile
    char buffer[65536];
    while (state == FileState::Read) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno != EINTR) state = FileState::Unreadable;
            continue;
        }
        bytes.append(buffer, size_t(n));
        if (bytes.size() > SettingsFileLimit) state = FileState::TooLarge;
    }
    close(fd);
    return state;
}

// Whether two trees hold the same values; a key with none is not worth a write.
bool SameValues(const RegistryTree& a, const RegistryTree& b) {
    auto next = [](const RegistryTree& t, RegistryTree::const_iterator i) {
        while (i != t.end() && i->second.empty()) ++i;
        return i;
    };
    auto i = next(a, a.begin()), j = next(b, b.begin());
    for (; i != a.end() && j != b.end(); i = next(a, ++i), j = next(b, ++j))
        if (*i != *j) return false;
    return i == a.end() && j == b.end();
}

}  // namespace

RegistryTree ParseRegistryText(const std::string& text, bool* complete) {
    RegistryTree result;
    bool ok = true;
    std::istringstream in(text);
    std::string line;
    bool first = true;
    std::string key;
    bool inKey = false;
    if (text.find('\0') != std::string::npos) ok = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (first) {
            first = false;
            if (line != "REGEDIT4") ok = false;
            continue;
        }
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            inKey = false;
            if (line.back() != ']' || line.compare(1, RootName.size(), RootName) != 0) {
                ok = false;
                continue;
            }
            key = line.substr(1 + RootName.size(), line.size() - 2 - RootName.size());
            inKey = !key.empty();
            if (inKey) result[key];
            else ok = false;
            continue;
        }
        std::string name;
        RegistryValue value;
        if (inKey && ParseValueLine(line, name, value)) result[key][name] = value;
        else ok = false;
    }
    if (first) ok = false;                                 // an empty file
    if (!text.empty() && text.back() != '\n') ok = false;  // cut short
    if (complete) *complete = ok;
    return result;
}

std::string FormatRegistryText(const RegistryTree& t) {
    std::string out = "REGEDIT4\n";
    char buf[16];
    for (const auto& [key, values] : t) {
        out += "\n[" + RootName + key + "]\n";
        for (const auto& [name, value] : values) {
            out += "\"" + name + "\"=";
            std::optional<std::string> quoted;
            if (value.type == REG_SZ) quoted = QuotedString(value.data);
            if (quoted) {
                out += *quoted;
            } else if (value.type == REG_DWORD && value.data.size() == 4) {
                std::snprintf(buf, sizeof buf, "dword:%08x", ReadU32LE(value.data.data()));
                out += buf;
            } else {
                if (value.type == REG_BINARY) out += "hex:";
                else {
                    std::snprintf(buf, sizeof buf, "hex(%x):", value.type);
                    out += buf;
                }
                for (size_t i = 0; i < value.data.size(); ++i) {
                    if (i) out += ',';
                    out += "0123456789abcdef"[value.data[i] >> 4];
                    out += "0123456789abcdef"[value.data[i] & 15];
                }
            }
            out += "\n";
        }
    }
    return out;
}

std::string DefaultRegistryFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return std::string(xdg) + "/glimmo";
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return std::string(home) + "/.config/glimmo";
    return "";  // no home: nowhere to keep them (never the folder the game was started from)
}

void SetRegistryFolder(const std::string& f, bool keptAfterTheRun) {
    folder = f;
    durable = keptAfterTheRun;
    tree.reset();
    onDisk.reset();
    warnedUnwritable = false;
}

void ReloadRegistry() {
    tree.reset();
    onDisk.reset();
}

std::string SettingsFileIn(const std::string& folder) { return folder + "/glimmo.reg"; }
std::string DamagedFileIn(const std::string& folder) { return SettingsFileIn(folder) + ".bad"; }

void RemoveRegistryFiles(const std::string& folder) {
    DIR* d = opendir(folder.c_str());
    if (!d) return;
    while (const dirent* entry = readdir(d))
        if (std::strncmp(entry->d_name, "glimmo.reg", 10) == 0) unlinkat(dirfd(d), entry->d_name, 0);
    closedir(d);
}

std::string RegistryFilePath() {
    if (!folder) folder = DefaultRegistryFolder();
    return folder->empty() ? std::string() : SettingsFileIn(*folder);
}

RegistryTree& LoadedRegistry() {
    if (tree) return *tree;
    tree.emplace();
    onDisk.reset();
    const std::string path = RegistryFilePath();
    if (path.empty()) return *tree;  // no folder: nothing to read
    std::string bytes;
    switch (ReadSettingsFile(path, bytes)) {
        case FileState::Absent: onDisk.emplace(); break;
        case FileState::NotAFile: KeepAside(path, "is not a plain file"); break;
        case FileState::TooLarge: KeepAside(path, "is larger than 1 MB, far too large for settings"); break;
        case FileState::Unreadable: KeepAside(path, "could not be read"); break;
        case FileState::Read: {
            bool complete = false;
            *tree = ParseRegistryText(bytes, &complete);
            if (complete) onDisk = *tree;
            else KeepAside(path, "could not be read whole");
            break;
        }
    }
    return *tree;
}

bool SaveRegistry() {
    const RegistryTree& current = LoadedRegistry();
    const std::string path = RegistryFilePath();
    if (path.empty()) return false;
    if (onDisk && SameValues(*onDisk, current)) return true;  // nothing changed: the file stays as it is
    if (!MakeFolders(*folder)) {
        WarnOnce("cannot create " + *folder);
        return false;
    }
    const std::string target = FollowLinks(path);
    mode_t mode = 0600;
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            WarnOnce(target + " is not a plain file");
            return false;
        }
        // A settings file the player made read-only is theirs to keep as it is.
        if ((st.st_mode & S_IWUSR) == 0) {
            WarnOnce(path + " is read-only");
            return false;
        }
        mode = st.st_mode & 07777;
    }
    // The message names the folder or the file, as the write found them; not why.
    if (std::string error; !WriteFileAtomically(target, FormatRegistryText(current), mode, &error, durable)) {
        WarnOnce(error.substr(0, error.rfind(": ")));
        return false;
    }
    onDisk = current;
    return true;
}

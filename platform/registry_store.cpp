// REGEDIT4 file store of the settings.
#include "platform/registry_store.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include "platform/byte_order.h"
#include "platform/path_bytes.h"
#include "platform/registry.h"

namespace {
std::string folder;
std::optional<RegistryTree> tree;
bool warnedUnwritable = false;
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

bool MakeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        }
    }
    return true;
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
                    std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", value.data[i]);
                    out += buf;
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
    return std::string(home && *home ? home : ".") + "/.config/glimmo";
}

void SetRegistryFolder(const std::string& f) {
    folder = f;
    tree.reset();
    warnedUnwritable = false;
}

std::string SettingsFileIn(const std::string& folder) { return folder + "/glimmo.reg"; }
std::string DamagedFileIn(const std::string& folder) { return SettingsFileIn(folder) + ".bad"; }
std::string SavingFileIn(const std::string& folder) { return SettingsFileIn(folder) + ".tmp"; }

void RemoveRegistryFiles(const std::string& folder) {
    for (const std::string& path : {SettingsFileIn(folder), DamagedFileIn(folder), SavingFileIn(folder)})
        unlink(path.c_str());
}

std::string RegistryFilePath() {
    if (folder.empty()) folder = DefaultRegistryFolder();
    return SettingsFileIn(folder);
}

RegistryTree& LoadedRegistry() {
    if (tree) return *tree;
    std::string path = RegistryFilePath();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        // A file that is there but cannot be opened is kept aside, not overwritten by the next save.
        std::string aside = DamagedFileIn(folder);
        if (access(path.c_str(), F_OK) == 0 && std::rename(path.c_str(), aside.c_str()) == 0)
            std::fprintf(stderr, "glimmo: %s could not be read; kept aside as %s\n", path.c_str(), aside.c_str());
        tree.emplace();
        return *tree;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    bool complete = false;
    tree = ParseRegistryText(ss.str(), &complete);
    if (!complete) {
        std::string aside = DamagedFileIn(folder);
        if (std::rename(path.c_str(), aside.c_str()) == 0)
            std::fprintf(stderr, "glimmo: %s could not be read whole; kept aside as %s\n", path.c_str(), aside.c_str());
    }
    return *tree;
}

bool SaveRegistry() {
    std::string path = RegistryFilePath();
    if (!MakeFolders(folder)) {
        WarnOnce("cannot create " + folder);
        return false;
    }
    std::string text = FormatRegistryText(LoadedRegistry());
    std::string temp = SavingFileIn(folder);
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        WarnOnce("cannot write " + temp);
        return false;
    }
    bool ok = write(fd, text.data(), text.size()) == ssize_t(text.size()) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        WarnOnce("cannot write " + path);
        return false;
    }
    // Make the rename itself durable.
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

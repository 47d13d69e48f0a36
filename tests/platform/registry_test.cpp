// The settings file: REGEDIT4 round trips, atomic saves, damaged files kept aside (a few
// of them), folders that cannot be written, links, and the file's permissions.
#include "platform/registry.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include "platform/registry_store.h"

namespace {
struct RegistryTest : ::testing::Test {
    std::string dir;
    void SetUp() override {
        char name[] = "/tmp/glimmo-reg-XXXXXX";
        dir = mkdtemp(name);
        SetRegistryFolder(dir);
    }
    void TearDown() override {
        chmod(dir.c_str(), 0700);
        RemoveRegistryFiles(dir);
        rmdir((dir + "/sub").c_str());
        rmdir(dir.c_str());
    }
    void WriteFile(const std::string& text) { std::ofstream(SettingsFileIn(dir), std::ios::binary) << text; }
    std::string ReadFile() {
        std::ifstream in(SettingsFileIn(dir), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }
};

LONG ReadDword(const WCHAR* key, const WCHAR* name, uint32_t& out) {
    HKEY k = nullptr;
    LONG r = RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, 0, nullptr, &k, nullptr);
    if (r) return r;
    DWORD size = 4;
    r = RegQueryValueExW(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&out), &size);
    RegCloseKey(k);
    return r;
}
}  // namespace

TEST_F(RegistryTest, ValuesSurviveASaveByteForByte) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\brix\\glimmo", 0, nullptr, 0, 0, nullptr, &k, nullptr), 0);
    uint32_t score = 123456;
    RegSetValueExW(k, L"HiScore", 0, REG_DWORD, reinterpret_cast<BYTE*>(&score), 4);
    uint8_t script[30] = {'a', 0, 'b', 0};
    RegSetValueExW(k, L"Script", 0, REG_SZ, script, 30);
    RegCloseKey(k);
    EXPECT_NE(ReadFile().find("\"HiScore\"=dword:0001e240"), std::string::npos) << ReadFile();
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename(), "glimmo.reg") << "left behind by the save";

    SetRegistryFolder(dir);  // a new run reads the file again
    uint32_t back = 0;
    EXPECT_EQ(ReadDword(L"Software\\brix\\glimmo", L"HiScore", back), 0);
    EXPECT_EQ(back, 123456u);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\brix\\glimmo", 0, nullptr, 0, 0, nullptr, &k, nullptr), 0);
    uint8_t got[30] = {};
    DWORD size = 30, type = 0;
    EXPECT_EQ(RegQueryValueExW(k, L"Script", nullptr, &type, got, &size), 0);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 30u);
    EXPECT_EQ(std::memcmp(got, script, 30), 0);
    size = 4;
    EXPECT_EQ(RegQueryValueExW(k, L"Script", nullptr, nullptr, got, &size), ERROR_MORE_DATA)
        << "a value larger than the buffer is not cut";
    EXPECT_EQ(RegQueryValueExW(k, L"Missing", nullptr, nullptr, got, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(k);
}

TEST_F(RegistryTest, DamagedFilesAreKeptAsideAndWhatCanBeReadIsKept) {
    const char* damaged[] = {
        "",                                                                                           // empty
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\brix\\glimmo]\n\"Sound\"=dword:00000020\n\"HiSc",  // cut short
        "\x7f\x45\x4c\x46\x02\x01\x01\x00\x00\x00",                                                   // binary
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\brix\\glimmo]\n\"Sound\"=dword:00000020\n\"HiScore\"=\"lots\n",
    };
    for (const char* text : damaged) {
        WriteFile(std::string(text, std::strlen(text)));
        SetRegistryFolder(dir);
        uint32_t v = 99;
        LONG r = ReadDword(L"Software\\brix\\glimmo", L"HiScore", v);
        EXPECT_NE(r, 0) << "HiScore cannot be read from: " << text;
        EXPECT_EQ(v, 99u);
        EXPECT_TRUE(Exists(DamagedFileIn(dir))) << text;
        uint32_t sound = 0;
        if (std::strstr(text, "00000020")) {
            EXPECT_EQ(ReadDword(L"Software\\brix\\glimmo", L"Sound", sound), 0);
            EXPECT_EQ(sound, 32u);
        }
        unlink((DamagedFileIn(dir)).c_str());
    }
}

// A plain string is a REG_SZ value: its UTF-16 units and terminator are what a query
// gives, and a save writes it back as the same string, REGEDIT4's escapes and all.
TEST_F(RegistryTest, StringValuesAreReadAndSavedAsStrings) {
    const std::string ding = "\"Script\"=\"ding\"\n";
    const std::string escaped = "\"Label\"=\"a\\\\b \\\"q\\\" d\xc3\xa9\"\n";  // a\b "q" dé
    WriteFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\ControlPanel\\Sounds\\Keypress]\n" + ding + escaped);
    SetRegistryFolder(dir);
    HKEY k = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, L"ControlPanel\\Sounds\\Keypress", 0, nullptr, 0, 0, nullptr, &k, nullptr),
        0);
    EXPECT_FALSE(Exists(DamagedFileIn(dir)));
    uint8_t got[64] = {};
    DWORD size = sizeof got, type = 0;
    EXPECT_EQ(RegQueryValueExW(k, L"Script", nullptr, &type, got, &size), 0);
    EXPECT_EQ(type, REG_SZ);
    const uint8_t units[] = {'d', 0, 'i', 0, 'n', 0, 'g', 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(got, got + size), std::vector<uint8_t>(units, units + sizeof units));
    size = sizeof got;
    EXPECT_EQ(RegQueryValueExW(k, L"Label", nullptr, &type, got, &size), 0);
    const uint8_t text[] = {'a', 0, '\\', 0, 'b', 0, ' ', 0, '"', 0, 'q', 0, '"', 0, ' ', 0, 'd', 0, 0xe9, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(got, got + size), std::vector<uint8_t>(text, text + sizeof text));
    uint32_t zero = 0;
    RegSetValueExW(k, L"BeepMode", 0, REG_DWORD, reinterpret_cast<BYTE*>(&zero), 4);
    RegCloseKey(k);  // saves
    EXPECT_NE(ReadFile().find(ding), std::string::npos) << ReadFile();
    EXPECT_NE(ReadFile().find(escaped), std::string::npos) << ReadFile();
}

// Damaged files in turn are all kept aside, the newest as glimmo.reg.bad, up to five.
TEST_F(RegistryTest, EachDamagedFileIsKeptAsideUpToFive) {
    for (int i = 0; i < 7; ++i) {
        WriteFile("damaged " + std::to_string(i));
        SetRegistryFolder(dir);
        LoadedRegistry();
    }
    auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    };
    EXPECT_EQ(read(DamagedFileIn(dir)), "damaged 6");
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(read(DamagedFileIn(dir) + "." + std::to_string(n)), "damaged " + std::to_string(6 - n));
    EXPECT_FALSE(Exists(DamagedFileIn(dir) + ".5"));
    for (int n = 1; n <= 4; ++n) unlink((DamagedFileIn(dir) + "." + std::to_string(n)).c_str());
}

// A link planted where a save puts its temporary file is not followed; a settings file that
// is a link (as dotfile managers make) is saved where it points, and stays a link.
TEST_F(RegistryTest, SavesFollowNoPlantedLinkAndKeepALinkedFile) {
    const std::string outside = dir + "/sub", victim = outside + "/victim", target = outside + "/glimmo.reg";
    ASSERT_EQ(mkdir(outside.c_str(), 0700), 0);
    std::ofstream(victim) << "precious\n";
    ASSERT_EQ(symlink(victim.c_str(), (SettingsFileIn(dir) + ".tmp").c_str()), 0);
    std::ofstream(target) << "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"V\"=dword:00000001\n";
    ASSERT_EQ(symlink(target.c_str(), SettingsFileIn(dir).c_str()), 0);
    SetRegistryFolder(dir);
    uint32_t v = 0;
    EXPECT_EQ(ReadDword(L"A", L"V", v), 0);
    EXPECT_EQ(v, 1u);
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"A", 0, nullptr, 0, 0, nullptr, &k, nullptr), 0);
    uint32_t seven = 7;
    RegSetValueExW(k, L"V", 0, REG_DWORD, reinterpret_cast<BYTE*>(&seven), 4);
    RegCloseKey(k);  // saves
    std::ifstream in(victim);
    std::string victimText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(victimText, "precious\n") << "a file outside the settings folder was overwritten";
    struct stat st {};
    ASSERT_EQ(lstat(SettingsFileIn(dir).c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the linked settings file was replaced by a plain one";
    std::ifstream linked(target);
    std::string targetText((std::istreambuf_iterator<char>(linked)), std::istreambuf_iterator<char>());
    EXPECT_NE(targetText.find("dword:00000007"), std::string::npos) << "not saved where the link points";
    SetRegistryFolder(dir);
    EXPECT_EQ(ReadDword(L"A", L"V", v), 0);
    EXPECT_EQ(v, 7u);
    for (const std::string& path : {victim, target, SettingsFileIn(dir) + ".tmp", SettingsFileIn(dir)})
        unlink(path.c_str());
}

// A save keeps the file's permissions; a file made read-only is left as it is.
TEST_F(RegistryTest, ASaveKeepsTheFilesModeAndLeavesAReadOnlyFileAlone) {
    auto save = [](uint32_t value) {
        HKEY k = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"A", 0, nullptr, 0, 0, nullptr, &k, nullptr);
        RegSetValueExW(k, L"V", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
        RegCloseKey(k);
        return SaveRegistry();
    };
    auto mode = [&] {
        struct stat st {};
        stat(SettingsFileIn(dir).c_str(), &st);
        return st.st_mode & 07777;
    };
    WriteFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"V\"=dword:00000001\n");
    ASSERT_EQ(chmod(SettingsFileIn(dir).c_str(), 0640), 0);
    SetRegistryFolder(dir);
    EXPECT_TRUE(save(2));
    EXPECT_EQ(mode(), 0640u);
    ASSERT_EQ(chmod(SettingsFileIn(dir).c_str(), 0440), 0);
    SetRegistryFolder(dir);
    EXPECT_FALSE(save(3));
    EXPECT_EQ(mode(), 0440u);
    EXPECT_NE(ReadFile().find("dword:00000002"), std::string::npos) << ReadFile();
}

TEST_F(RegistryTest, UnwritableFolderKeepsPlaying) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    chmod(dir.c_str(), 0500);
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"A", 0, nullptr, 0, 0, nullptr, &k, nullptr), 0);
    uint32_t one = 1;
    RegSetValueExW(k, L"V", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
    EXPECT_EQ(RegCloseKey(k), 0);
    EXPECT_FALSE(SaveRegistry());
}

TEST_F(RegistryTest, FolderThatIsAFileIsReported) {
    std::ofstream(dir + "/sub") << "x";
    SetRegistryFolder(dir + "/sub/deeper");
    LoadedRegistry()["A"]["V"] = {REG_DWORD, {1, 0, 0, 0}};  // something to keep
    EXPECT_FALSE(SaveRegistry());
    unlink((dir + "/sub").c_str());
}

TEST_F(RegistryTest, TextFormatRoundTrips) {
    RegistryTree t;
    t["Software\\brix\\glimmo"]["HiScore"] = {REG_DWORD, {1, 2, 3, 4}};
    t["Software\\brix\\glimmo"]["Odd"] = {REG_DWORD, {1, 2}};
    t["ControlPanel\\Sounds\\Keypress"]["Script"] = {REG_SZ, std::vector<uint8_t>(30, 0)};
    t["X"]["Bin"] = {REG_BINARY, {}};
    bool complete = false;
    RegistryTree back = ParseRegistryText(FormatRegistryText(t), &complete);
    EXPECT_TRUE(complete);
    EXPECT_EQ(back.size(), t.size());
    for (auto& [key, values] : t)
        for (auto& [name, v] : values) {
            EXPECT_EQ(back[key][name].type, v.type) << name;
            EXPECT_EQ(back[key][name].data, v.data) << name;
        }
}

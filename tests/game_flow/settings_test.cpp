// The settings between runs: first run, saving on the back key only, the key clicks
// blanked and given back byte for byte (even after a killed run), files that cannot be
// read, two copies on one file, and no writing when nothing changed.
#include "app/settings.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "platform/registry.h"
#include "platform/registry_store.h"
#include "tests/game_flow/flow_fixture.h"

namespace {

const WCHAR* const GameKey = L"Software\\brix\\glimmo";
const WCHAR* const ClickKey = L"ControlPanel\\Sounds\\Keypress";

void Put(const WCHAR* keyName, const WCHAR* value, DWORD type, std::vector<uint8_t> bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, value, 0, type, bytes.data(), DWORD(bytes.size()));
    RegCloseKey(key);
}

void PutDword(const WCHAR* keyName, const WCHAR* value, uint32_t v) {
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &v, 4);
    Put(keyName, value, REG_DWORD, bytes);
}

// The value's type and bytes as stored; type 0 when it is absent.
std::pair<DWORD, std::vector<uint8_t>> Get(const WCHAR* keyName, const WCHAR* value) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, 0, nullptr, &key, nullptr);
    std::vector<uint8_t> bytes(4096);
    DWORD type = 0, size = DWORD(bytes.size());
    if (RegQueryValueExW(key, value, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) type = 0, size = 0;
    RegCloseKey(key);
    bytes.resize(size);
    return {type, bytes};
}

std::vector<uint8_t> Dword(uint32_t v) {
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &v, 4);
    return bytes;
}

// The store as a fresh run finds it: read again from the file.
void Reopen() { SetRegistryFolder(std::string(RegistryFilePath()).substr(0, RegistryFilePath().rfind('/'))); }

class SettingsTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        StartAsANewProcess();
    }
    // The globals as a new run of the program starts with them.
    void StartAsANewProcess() {
        HiScore = 0;
        Sound = 16;
        SavedBeepMode = 0;
        std::memset(SavedScript, 0, sizeof SavedScript);
        SavedScriptSize = sizeof SavedScript;
        SavedScriptLongSize = 0;
    }
    void WriteFile(const std::string& text) {
        std::ofstream(RegistryFilePath(), std::ios::binary) << text;
        Reopen();
    }
};

TEST_F(SettingsTest, FirstRunPlaysWithDefaultsAndTheBackKeyCreatesBothValues) {
    LoadSettings();
    EXPECT_EQ(HiScore, 0);
    EXPECT_EQ(Sound, 16);
    HiScore = 4560;
    Sound = 0;
    SaveSettings();
    Reopen();
    EXPECT_EQ(Get(GameKey, L"HiScore"), std::make_pair(REG_DWORD, Dword(4560)));
    EXPECT_EQ(Get(GameKey, L"Sound"), std::make_pair(REG_DWORD, Dword(0)));
    // No key clicks were there to keep: the blank values are what goes back.
    EXPECT_EQ(Get(ClickKey, L"Script"), std::make_pair(REG_SZ, std::vector<uint8_t>(30, 0)));
    EXPECT_EQ(Get(ClickKey, L"BeepMode"), std::make_pair(REG_DWORD, Dword(0)));
    HiScore = 1;
    Sound = 16;
    LoadSettings();
    EXPECT_EQ(HiScore, 4560);
    EXPECT_EQ(Sound, 0);  // a stored silence starts silent
}

TEST_F(SettingsTest, KeyClicksAreBlankedWhileRunningAndComeBackByteForByte) {
    const std::vector<uint8_t> script = {'c', 0, 'l', 0, 'i', 0, 'c', 0, 'k', 0, 0, 0};
    PutDword(ClickKey, L"BeepMode", 0x01020304);
    Put(ClickKey, L"Script", REG_SZ, script);
    LoadSettings();
    EXPECT_EQ(Get(ClickKey, L"BeepMode"), std::make_pair(REG_DWORD, Dword(0)));
    EXPECT_EQ(Get(ClickKey, L"Script"), std::make_pair(REG_SZ, std::vector<uint8_t>(30, 0)));
    SaveSettings();
    Reopen();
    EXPECT_EQ(Get(ClickKey, L"BeepMode"), std::make_pair(REG_DWORD, Dword(0x01020304)));
    EXPECT_EQ(Get(ClickKey, L"Script"), std::make_pair(REG_SZ, script));
}

TEST_F(SettingsTest, FullThirtyAndLongerScriptsComeBackWhole) {
    for (size_t length : {size_t(0), size_t(30), size_t(31), size_t(200)}) {
        SetUp();
        std::vector<uint8_t> script(length);
        for (size_t i = 0; i < length; ++i) script[i] = uint8_t(i * 7 + 1);
        Put(ClickKey, L"Script", REG_SZ, script);
        LoadSettings();
        EXPECT_EQ(Get(ClickKey, L"Script").second, std::vector<uint8_t>(30, 0)) << length;
        RestoreKeyClicks();
        EXPECT_EQ(Get(ClickKey, L"Script").second, script) << length;
    }
    // Beyond what can be kept, the sound is left alone: not blanked, not rewritten.
    SetUp();
    std::vector<uint8_t> huge(SavedScriptLimit + 2, 'x');
    Put(ClickKey, L"Script", REG_SZ, huge);
    LoadSettings();
    EXPECT_EQ(Get(ClickKey, L"Script").second, huge);
    RestoreKeyClicks();
    EXPECT_EQ(Get(ClickKey, L"Script").second, huge);
}

TEST_F(SettingsTest, DeactivationGivesTheClicksBackButSavesNothing) {
    PutDword(GameKey, L"HiScore", 100);
    PutDword(ClickKey, L"BeepMode", 2);
    LoadSettings();
    HiScore = 9000;
    Sound = 30;
    RestoreKeyClicks();
    Reopen();
    EXPECT_EQ(Get(GameKey, L"HiScore").second, Dword(100));
    EXPECT_EQ(Get(GameKey, L"Sound").first, 0u);
    EXPECT_EQ(Get(ClickKey, L"BeepMode").second, Dword(2));
}

TEST_F(SettingsTest, ValuesThatCannotBeReadKeepTheDefaults) {
    Put(GameKey, L"HiScore", REG_SZ, {'9', 0, '9', 0});  // another type
    Put(GameKey, L"Sound", REG_BINARY, {7, 0});          // too short
    LoadSettings();
    EXPECT_EQ(HiScore, 0);
    EXPECT_EQ(Sound, 16);
    PutDword(GameKey, L"HiScore", uint32_t(-5));  // no best score is negative
    PutDword(GameKey, L"Sound", 0x7FFFFFFF);      // no counter could hold it
    LoadSettings();
    EXPECT_EQ(HiScore, 0);
    EXPECT_EQ(Sound, 16);
    PutDword(GameKey, L"Sound", 100);  // out of range but kept: it plays at 64
    LoadSettings();
    EXPECT_EQ(Sound, 100);
}

TEST_F(SettingsTest, CorruptFilesGiveDefaultsWithoutACrash) {
    const std::string files[] = {
        "",
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\brix\\glimmo]\n\"HiScore\"=dword:000",
        std::string("\x00\xff\xfe\x01garbage\x00\x80", 12),
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\brix\\glimmo]\n\"HiScore\"=\"text\"\n\"Sound\"=hex:01\n",
    };
    for (const std::string& text : files) {
        HiScore = 0;
        Sound = 16;
        WriteFile(text);
        LoadSettings();
        EXPECT_EQ(HiScore, 0);
        EXPECT_EQ(Sound, 16);
        HiScore = 321;
        SaveSettings();  // the game still quits normally and keeps what it has
        Reopen();
        HiScore = 0;
        LoadSettings();
        EXPECT_EQ(HiScore, 321);
    }
}

// Two copies on one settings file: whichever quits last keeps the better of the two best
// scores, and its own volume.
TEST_F(SettingsTest, ASaveKeepsTheBetterScoreAnotherCopySavedMeanwhile) {
    PutDword(GameKey, L"HiScore", 100);
    LoadSettings();
    // The other copy, started at the same time, scored 3130 and quit first.
    std::ofstream(RegistryFilePath(), std::ios::binary)
        << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\brix\\glimmo]\n\"HiScore\"=dword:00000c3a\n"
           "\"Sound\"=dword:00000008\n";
    HiScore = 2000;
    Sound = 40;
    SaveSettings();
    Reopen();
    EXPECT_EQ(Get(GameKey, L"HiScore").second, Dword(3130)) << "the other copy's best score was overwritten";
    EXPECT_EQ(Get(GameKey, L"Sound").second, Dword(40));
    HiScore = 5000;  // and a better one of ours is kept over it
    SaveSettings();
    Reopen();
    EXPECT_EQ(Get(GameKey, L"HiScore").second, Dword(5000));
}

// A run killed during play (kill -9) never gave the key clicks back; the next start does.
TEST_F(SettingsTest, KeyClicksOfAKilledRunComeBackAtTheNextStart) {
    const std::vector<uint8_t> script = {'t', 0, 'i', 0, 'c', 0, 'k', 0, 0, 0};
    PutDword(ClickKey, L"BeepMode", 3);
    Put(ClickKey, L"Script", REG_SZ, script);
    LoadSettings();  // blanked; then the process is killed, and nothing more of it runs
    StartAsANewProcess();
    Reopen();
    LoadSettings();
    SaveSettings();
    Reopen();
    EXPECT_EQ(Get(ClickKey, L"BeepMode"), std::make_pair(REG_DWORD, Dword(3)));
    EXPECT_EQ(Get(ClickKey, L"Script"), std::make_pair(REG_SZ, script));
    bool whole = false;
    std::ifstream in(RegistryFilePath(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(ParseRegistryText(text, &whole).size(), 2u) << "once given back, nothing of them is kept:\n" << text;
}

// A session that changes nothing leaves the file as it was; a new best score rewrites it.
TEST_F(SettingsTest, TheFileIsWrittenOnlyWhenAValueChanged) {
    PutDword(GameKey, L"HiScore", 500);
    LoadSettings();
    SaveSettings();
    // A second name for the file as it is now: a rewrite (a new file renamed over it) parts them.
    const std::string file = RegistryFilePath(), witness = file + ".witness";
    ASSERT_EQ(link(file.c_str(), witness.c_str()), 0);
    auto sameFile = [&] {
        struct stat a {
        }, b{};
        return stat(file.c_str(), &a) == 0 && stat(witness.c_str(), &b) == 0 && a.st_ino == b.st_ino;
    };
    StartAsANewProcess();
    Reopen();
    LoadSettings();
    EXPECT_TRUE(sameFile()) << "rewritten at start";
    SaveSettings();
    EXPECT_TRUE(sameFile()) << "rewritten at quit with nothing changed";
    HiScore = 600;
    SaveSettings();
    EXPECT_FALSE(sameFile());
    Reopen();
    EXPECT_EQ(Get(GameKey, L"HiScore").second, Dword(600));
    unlink(witness.c_str());
}

}  // namespace

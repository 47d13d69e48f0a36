// The WAVE loaders on good and bad bytes: extra format bytes and chunks skipped, odd
// sizes kept, wrong formats, truncation, missing or oversized chunks refused, the
// fixed-point limits, ownership through Unload, failed loads, and path resolution.
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include "platform/path_bytes.h"
#include "platform/resources.h"
#include "tests/sound/sound_fixture.h"

namespace {

bool ParseOk(const std::vector<uint8_t>& bytes, WaveLayout* out = nullptr) {
    WaveLayout layout;
    bool ok = ParseWave(bytes.data(), uint32_t(bytes.size()), layout);
    if (out) *out = layout;
    return ok;
}

// Loads bytes through a file, cleaning up after.
bool LoadFile(Sample& sample, const std::vector<uint8_t>& bytes) {
    std::string path = WriteTempFile(bytes);
    bool ok = sample.LoadFromFile(WideFromBytes(path).c_str());
    unlink(path.c_str());
    return ok;
}
}  // namespace

TEST(WaveLoader, LongFormatChunkAndExtraChunkAreSkipped) {
    WaveRecipe recipe;
    recipe.tag = 0xFFFE;  // a format tag other than PCM is not refused
    recipe.fmtSize = 40;
    recipe.extraChunkSize = 436;
    recipe.data = {1, 2, 3, 4, 5};
    auto bytes = MakeWave(recipe);
    WaveLayout layout;
    ASSERT_TRUE(ParseOk(bytes, &layout));
    EXPECT_EQ(layout.dataOffset, 12u + 8 + 40 + 8 + 436 + 8);
    EXPECT_EQ(layout.dataSize, 5u);  // odd size kept exactly
    EXPECT_EQ(layout.rate, 11025u);

    Sample sample;
    ASSERT_TRUE(LoadFile(sample, bytes));
    EXPECT_EQ(sample.length, 5u);
    EXPECT_TRUE(sample.ownsData);
    EXPECT_EQ(sample.data[0], 1);
    EXPECT_EQ(sample.data[4], 5);
}

TEST(WaveLoader, WrongFormatsAreRefused) {
    WaveRecipe sixteen;
    sixteen.bits = 16;
    WaveRecipe stereo;
    stereo.channels = 2;
    WaveRecipe shortFormat;
    shortFormat.fmtSize = 14;
    for (const WaveRecipe& recipe : {sixteen, stereo, shortFormat}) {
        auto bytes = MakeWave(recipe);
        EXPECT_FALSE(ParseOk(bytes));
        Sample sample;
        EXPECT_FALSE(LoadFile(sample, bytes));
    }
    auto notFmt = MakeWave(WaveRecipe{});
    notFmt[12] = 'X';
    EXPECT_FALSE(ParseOk(notFmt));
    Sample sample;
    EXPECT_FALSE(LoadFile(sample, notFmt));
}

TEST(WaveLoader, MissingTruncatedAndOversizedChunksAreRefused) {
    WaveRecipe noData;
    noData.withData = false;
    noData.extraChunkSize = 20;
    auto bytes = MakeWave(noData);
    EXPECT_FALSE(ParseOk(bytes));
    Sample sample;
    EXPECT_FALSE(LoadFile(sample, bytes));

    // Every cut of a good file that loses data bytes is refused, never read past.
    WaveRecipe good;
    good.extraChunkSize = 10;
    auto full = MakeWave(good);
    for (size_t cut = 0; cut < full.size(); ++cut) {
        std::vector<uint8_t> part(full.begin(), full.begin() + cut);
        EXPECT_FALSE(ParseOk(part)) << "cut at " << cut;
        Sample s;
        EXPECT_FALSE(LoadFile(s, part)) << "cut at " << cut;
    }

    // A chunk whose size runs past the end, near the 32-bit limit too.
    for (uint32_t size : {100u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
        auto past = MakeWave(good);
        SetU32(past, 12 + 8 + 16 + 4, size);  // the LIST chunk's size
        EXPECT_FALSE(ParseOk(past)) << size;
        Sample s;
        EXPECT_FALSE(LoadFile(s, past)) << size;
    }

    // A data size larger than the bytes there are.
    auto longer = MakeWave(WaveRecipe{});
    SetU32(longer, 12 + 8 + 16 + 4, 5);
    EXPECT_FALSE(ParseOk(longer));
    Sample s;
    EXPECT_FALSE(LoadFile(s, longer));
    EXPECT_EQ(s.data, nullptr);
    EXPECT_EQ(s.length, 0u);  // got as far as the allocation, and still left unloaded
}

TEST(WaveLoader, FixedPointLimits) {
    WaveRecipe fast;
    fast.rate = 65536;
    EXPECT_FALSE(ParseOk(MakeWave(fast)));
    Sample sample;
    EXPECT_FALSE(LoadFile(sample, MakeWave(fast)));
    fast.rate = 65535;
    EXPECT_TRUE(ParseOk(MakeWave(fast)));

    WaveRecipe big;
    big.data.assign(1u << 24, 128);
    auto bytes = MakeWave(big);
    EXPECT_FALSE(ParseOk(bytes));
    EXPECT_FALSE(LoadFile(sample, bytes));
    big.data.resize((1u << 24) - 1);
    EXPECT_TRUE(ParseOk(MakeWave(big)));
}

TEST(WaveLoader, OwnershipThroughUnloadAndReload) {
    Sample sample;
    WaveRecipe a;
    a.data = {10, 20, 30};
    ASSERT_TRUE(LoadFile(sample, MakeWave(a)));
    const uint8_t* first = sample.data;
    WaveRecipe b;
    b.data = {40, 50};
    ASSERT_TRUE(LoadFile(sample, MakeWave(b)));  // frees the first data (checked by the leak checker)
    EXPECT_EQ(sample.length, 2u);
    EXPECT_EQ(sample.data[0], 40);
    (void)first;
    sample.Unload();
    EXPECT_EQ(sample.data, nullptr);
    EXPECT_FALSE(sample.ownsData);

    // Unload forgets data from a resource too, and so does a failed load.
    ASSERT_TRUE(sample.LoadFromResource(nullptr, 119));
    EXPECT_EQ(sample.length, 16832u);
    sample.Unload();
    EXPECT_EQ(sample.data, nullptr);
    EXPECT_EQ(sample.length, 0u);
    ASSERT_TRUE(sample.LoadFromResource(nullptr, 119));
    EXPECT_FALSE(sample.LoadFromResource(nullptr, 118));
    EXPECT_EQ(sample.data, nullptr);
    EXPECT_EQ(sample.rate, 0u);
}

// A sample from a resource, then a file cut short that claims 200,000 bytes: the failed
// load leaves nothing to play, not the resource's data with the file's length.
TEST_F(SoundTest, AFailedLoadLeavesNothingToPlay) {
    ASSERT_TRUE(mixer.Open(22050, 1, 8, true));
    Sample sample;
    ASSERT_TRUE(sample.LoadFromResource(nullptr, 119));
    WaveRecipe cut;
    cut.data.assign(100, 128);
    auto bytes = MakeWave(cut);
    SetU32(bytes, 12 + 8 + 16 + 4, 200000);  // the data chunk's size
    EXPECT_FALSE(LoadFile(sample, bytes));
    EXPECT_EQ(sample.data, nullptr);
    EXPECT_EQ(sample.length, 0u);
    EXPECT_EQ(mixer.PlaySample(sample), NoVoice);
}

// Paths keep the bytes the system gave, whatever they are: a copy of this program in a
// folder whose name is not plain ASCII (an accented letter, a byte that is no UTF-8 at all)
// finds a WAVE file beside it by its bare name.
TEST(ResolvePathRule, PathsKeepTheirBytes) {
    if (std::getenv("GLIMMO_LOAD_BESIDE")) {  // the copy's own run
        Sample sample;
        EXPECT_TRUE(sample.LoadFromFile(L"beside.wav"));
        EXPECT_EQ(sample.length, 4u);
        return;
    }
    EXPECT_EQ(WideFromBytes("d\xc3\xa9"), L"d\u00e9");
    for (std::string bytes : {"d\xc3\xa9", "\xff", "a\xc3", "\xed\xb2\x80", "\xf0\x9f\x8e\xb5/\xc0\xaf"})
        EXPECT_EQ(BytesFromWide(WideFromBytes(bytes)), bytes);
    namespace fs = std::filesystem;
    char top[] = "/tmp/glimmo-beside-XXXXXX";
    ASSERT_NE(mkdtemp(top), nullptr);
    for (const char* leaf : {"d\xc3\xa9", "x\xff"}) {
        fs::path folder = fs::path(top) / leaf;
        fs::create_directory(folder);
        fs::copy_file("/proc/self/exe", folder / "sound_tests");
        const std::vector<uint8_t> wave = MakeWave(WaveRecipe{});
        std::ofstream(folder / "beside.wav", std::ios::binary)
            .write(reinterpret_cast<const char*>(wave.data()), std::streamsize(wave.size()));
        std::string program = (folder / "sound_tests").string();
        char filter[] = "--gtest_filter=ResolvePathRule.PathsKeepTheirBytes";
        char* args[] = {program.data(), filter, nullptr};
        std::vector<char*> environment{const_cast<char*>("GLIMMO_LOAD_BESIDE=1")};
        for (char** e = environ; *e; ++e) environment.push_back(*e);
        environment.push_back(nullptr);
        pid_t child = fork();
        if (child == 0) {
            execve(program.c_str(), args, environment.data());
            _exit(127);
        }
        int status = -1;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "beside the program in " << folder;
    }
    fs::remove_all(top);
}

TEST(ResolvePathRule, FullRelativeAndTooLong) {
    WCHAR buffer[ResolvePathChars];
    EXPECT_EQ(ResolvePath(buffer, L"/tmp/a.wav"), 10u);
    EXPECT_STREQ(buffer, L"/tmp/a.wav");

    WCHAR self[ResolvePathChars];
    DWORD n = GetModuleFileNameW(nullptr, self, ResolvePathChars);
    ASSERT_GT(n, 0u);
    std::wstring folder(self, n);
    folder.resize(folder.rfind(L'/') + 1);
    uint32_t length = ResolvePath(buffer, L"sounds/x.wav");
    EXPECT_EQ(std::wstring(buffer, length), folder + L"sounds/x.wav");

    std::wstring longFull = L"/" + std::wstring(ResolvePathChars - 1, L'a');  // 512 characters
    EXPECT_EQ(ResolvePath(buffer, longFull.c_str()), 0u);
    EXPECT_EQ(ResolvePath(buffer, longFull.substr(0, 511).c_str()), 511u);
    std::wstring longRelative(ResolvePathChars - folder.size(), L'b');
    EXPECT_EQ(ResolvePath(buffer, longRelative.c_str()), 0u);
    EXPECT_EQ(ResolvePath(buffer, longRelative.substr(1).c_str()), ResolvePathChars - 1);

    Sample sample;
    EXPECT_FALSE(sample.LoadFromFile(longFull.c_str()));
    EXPECT_FALSE(sample.LoadFromFile(L"/no/such/file.wav"));
}

// Loading modules from files and memory, and the Module's own settings.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sound/module.h"
#include "sound/module_image.h"
#include "tests/module/scratch_path.h"

namespace {

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::string TempFile(const std::string& name, const std::string& bytes) {
    std::string path = ScratchPath(name);
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

}  // namespace

TEST(ModuleLoader, FileIsReadWholeAndOwned) {
    std::string bytes(3000, 'x');
    bytes[2999] = 'y';
    std::string path = TempFile("glimmo_module_whole.mod", bytes);
    Module m;
    ASSERT_TRUE(m.LoadFromFile(Wide(path).c_str()));
    EXPECT_TRUE(m.ownsData);
    ASSERT_EQ(m.size, 3000u);
    EXPECT_EQ(m.data[2999], 'y');
    m.Unload();
    EXPECT_EQ(m.data, nullptr);
    EXPECT_FALSE(m.ownsData);
    std::remove(path.c_str());
}

TEST(ModuleLoader, MissingAndEmptyFilesFail) {
    Module m;
    std::string empty = TempFile("glimmo_module_empty.mod", "");
    EXPECT_FALSE(m.LoadFromFile(Wide(empty).c_str()));
    EXPECT_FALSE(m.LoadFromFile(L"/nonexistent/glimmo/none.mod"));
    EXPECT_EQ(m.data, nullptr);
    std::remove(empty.c_str());
}

TEST(ModuleLoader, AFailedLoadDropsTheEarlierModule) {
    Module m;
    const uint8_t bytes[4] = {1, 2, 3, 4};
    ASSERT_TRUE(m.LoadFromMemory(bytes, 4));
    EXPECT_NE(m.data, bytes);  // a copy
    EXPECT_FALSE(m.LoadFromFile(L"/nonexistent/glimmo/none.mod"));
    EXPECT_EQ(m.data, nullptr);
    EXPECT_EQ(m.size, 0u);
}

// A file or a copy larger than any module can hold is refused, never read whole (the
// file is sparse: 64 MB that cost nothing to make).
TEST(ModuleLoader, AnImageLargerThanAnyModuleIsRefused) {
    Module m;
    std::string path = TempFile("glimmo_module_huge.mod", std::string(ModulePatternsAt, 'x'));
    ASSERT_EQ(truncate(path.c_str(), 64 << 20), 0);
    EXPECT_FALSE(m.LoadFromFile(Wide(path).c_str()));
    ASSERT_EQ(truncate(path.c_str(), off_t(ModuleLargestImage)), 0);
    EXPECT_TRUE(m.LoadFromFile(Wide(path).c_str()));
    std::remove(path.c_str());

    const std::vector<uint8_t> image(ModuleLargestImage + 1);
    EXPECT_FALSE(m.LoadFromMemory(image.data(), image.size()));
    EXPECT_TRUE(m.LoadFromMemory(image.data(), ModuleLargestImage));
}

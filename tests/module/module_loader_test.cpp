// Loading modules from files and memory, and the Module's own settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "sound/module.h"
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

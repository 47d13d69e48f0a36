// The PNG writer on a full disk: it says it failed, and leaves no cut-off picture behind.
#include "platform/png_writer.h"
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <vector>

TEST(PngWriter, AFullDiskIsAFailureAndLeavesNoFile) {
    const std::string path = ::testing::TempDir() + "glimmo-png-" + std::to_string(getpid()) + ".png";
    std::vector<uint8_t> rgb(176 * 220 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 7 % 251);
    // A child whose files may not grow past 200 bytes stands in for a disk that fills up.
    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{200, 200};
        setrlimit(RLIMIT_FSIZE, &small);
        _exit(WriteRgbPng(path, rgb.data(), 176, 220) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the writer said it wrote the picture";
    EXPECT_NE(access(path.c_str(), F_OK), 0) << "a cut-off picture was left behind";
    std::remove(path.c_str());
    EXPECT_FALSE(WriteRgbPng("/dev/full", rgb.data(), 176, 220));
}

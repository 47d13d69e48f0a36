// Where screenshots go: reading the user-dirs file, the fall-backs, the folder made when
// missing, and the first free glimmo-NN.png name.
#include "platform/sdl/screenshot_names.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>

TEST(PicturesFolder, ReadFromUserDirs) {
    const std::string text =
        "# This file is written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(PicturesDirFromUserDirs(text, "/home/ann"), "/home/ann/Bilder");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/srv/pics\"\n", "/home/ann"), "/srv/pics");
    EXPECT_EQ(PicturesDirFromUserDirs("  XDG_PICTURES_DIR=\"$HOME/My\\\"Pics\"\n", "/h"), "/h/My\"Pics");
    // The later line wins, as when a shell reads the file.
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\n", "/h"), "/b");
}

TEST(PicturesFolder, UnusableLinesAreIgnored) {
    EXPECT_EQ(PicturesDirFromUserDirs("", "/h"), "");
    EXPECT_EQ(PicturesDirFromUserDirs("#XDG_PICTURES_DIR=\"/x\"\n", "/h"), "");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"relative/x\"\n", "/h"), "");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOMEBOY/x\"\n", "/h"), "");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/unterminated\n", "/h"), "");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=/no/quotes\n", "/h"), "");
    EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME/x\"\n", ""), "");
}

TEST(PicturesFolder, TheEnvironmentThenUserDirsThenPictures) {
    const std::string text = "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(ChoosePicturesFolder("/srv/shots", text, "/h"), "/srv/shots");
    EXPECT_EQ(ChoosePicturesFolder("relative", text, "/h"), "/h/Bilder");
    EXPECT_EQ(ChoosePicturesFolder("", text, "/h"), "/h/Bilder");  // made if it is missing
    EXPECT_EQ(ChoosePicturesFolder("", "", "/h"), "/h/Pictures");
    EXPECT_EQ(ChoosePicturesFolder("", "", ""), ".");
}

TEST(ScreenshotName, FirstFreeNumber) {
    std::set<std::string> taken;
    auto exists = [&](const std::string& p) { return taken.count(p) != 0; };
    EXPECT_EQ(FirstFreeScreenshotPath("/p", exists), "/p/glimmo-01.png");
    taken = {"/p/glimmo-01.png", "/p/glimmo-02.png", "/p/glimmo-04.png"};
    EXPECT_EQ(FirstFreeScreenshotPath("/p", exists), "/p/glimmo-03.png");
    for (int n = 1; n <= 98; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "/p/glimmo-%02d.png", n);
        taken.insert(name);
    }
    EXPECT_EQ(FirstFreeScreenshotPath("/p", exists), "/p/glimmo-99.png");
    taken.insert("/p/glimmo-99.png");
    EXPECT_EQ(FirstFreeScreenshotPath("/p", exists), "");
}

TEST(ScreenshotName, FromTheEnvironment) {
    char dir[] = "/tmp/glimmo-shots-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string home = dir;
    ASSERT_EQ(mkdir((home + "/.config").c_str(), 0700), 0);
    std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Shots\"\n";
    std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    const char* savedConfig = getenv("XDG_CONFIG_HOME");
    std::string savedConfigValue = savedConfig ? savedConfig : "";
    setenv("HOME", dir, 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_PICTURES_DIR");
    std::string problem;
    EXPECT_EQ(NextScreenshotPath(&problem), home + "/Shots/glimmo-01.png") << problem;
    std::ofstream(home + "/Shots/glimmo-01.png") << "x";
    EXPECT_EQ(NextScreenshotPath(&problem), home + "/Shots/glimmo-02.png") << problem;
    // A folder that cannot be made says why.
    std::ofstream(home + "/file") << "x";
    setenv("XDG_PICTURES_DIR", (home + "/file/sub").c_str(), 1);
    EXPECT_EQ(NextScreenshotPath(&problem), "");
    EXPECT_NE(problem.find(home + "/file/sub"), std::string::npos) << problem;
    unsetenv("XDG_PICTURES_DIR");
    std::remove((home + "/file").c_str());
    setenv("HOME", savedHome.c_str(), 1);
    if (savedConfig) setenv("XDG_CONFIG_HOME", savedConfigValue.c_str(), 1);
    std::remove((home + "/Shots/glimmo-01.png").c_str());
    std::remove((home + "/.config/user-dirs.dirs").c_str());
    rmdir((home + "/Shots").c_str());
    rmdir((home + "/.config").c_str());
    rmdir(dir);
}

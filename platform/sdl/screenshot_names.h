// Where F12 screenshots go: the user's pictures folder (as the desktop's user-dirs file
// names it, else ~/Pictures, else the current folder), as the first free glimmo-NN.png.
#pragma once
#include <functional>
#include <string>

using PathTest = std::function<bool(const std::string& path)>;

// The XDG_PICTURES_DIR line of a user-dirs.dirs text, with $HOME put in: "" when the
// text has no usable line (the value must be "$HOME/..." or an absolute path).
std::string PicturesDirFromUserDirs(const std::string& userDirsText, const std::string& home);

// The folder to use: the user-dirs folder if it is a folder, else home/Pictures if it is
// one, else ".".
std::string ChoosePicturesFolder(const std::string& userDirsText, const std::string& home, const PathTest& isFolder);

// folder/glimmo-01.png ... folder/glimmo-99.png, the first that does not exist; "" when
// all are taken.
std::string FirstFreeScreenshotPath(const std::string& folder, const PathTest& exists);

// The same, from this user's environment and file system.
std::string NextScreenshotPath();

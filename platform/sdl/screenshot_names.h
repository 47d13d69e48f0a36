// Where F12 screenshots go: the user's pictures folder (as the desktop's user-dirs file
// names it, else ~/Pictures; made when missing), as the first free glimmo-NN.png.
#pragma once
#include <functional>
#include <string>

using PathTest = std::function<bool(const std::string& path)>;

// The XDG_PICTURES_DIR line of a user-dirs.dirs text, with $HOME put in: "" when the
// text has no usable line (the value must be "$HOME/..." or an absolute path).
std::string PicturesDirFromUserDirs(const std::string& userDirsText, const std::string& home);

// The folder to use, whether or not it exists yet: the environment's XDG_PICTURES_DIR
// (when it is an absolute path), else the user-dirs text's, else home/Pictures, else "."
// (no home at all).
std::string ChoosePicturesFolder(const std::string& environment, const std::string& userDirsText,
                                 const std::string& home);

// folder/glimmo-01.png ... folder/glimmo-99.png, the first that does not exist; "" when
// all are taken.
std::string FirstFreeScreenshotPath(const std::string& folder, const PathTest& exists);

// Makes the folder and its missing parents; false, with the reason, when it cannot.
bool MakeFolders(const std::string& path, std::string* problem);

// The same, from this user's environment and file system, the folder made if missing;
// "" with *problem set when there is no name to write.
std::string NextScreenshotPath(std::string* problem);

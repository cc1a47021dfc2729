#pragma once
// What finding the config directory asks of the platform; one file of the
// pair configdir_posix.cpp / configdir_win32.cpp answers it.

#include <filesystem>

namespace tarvik::configdir {

// Whether the program's own folder keeps the settings. Windows programs
// have always kept them beside themselves: when Tarvik.ini is there or this
// process may make a new file there. On Linux a program folder is a bin
// folder (shared, or not the user's to fill): only a portable copy keeps
// them there, a folder holding a Tarvik.ini of this user's own (one left by
// another user, root say, is not this user's copy).
bool programFolderKeepsSettings(const std::filesystem::path& exeDir);

// Where the settings go when the program's own folder is not used: the
// user's per-application settings folder (exeDir when there is none).
std::filesystem::path userConfigDir(const std::filesystem::path& exeDir);

}  // namespace tarvik::configdir

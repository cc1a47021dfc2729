#pragma once
// What finding the config directory asks of the platform; one file of the
// pair configdir_posix.cpp / configdir_win32.cpp answers it.

#include <filesystem>

namespace tarvik::configdir {

// Whether a program folder without Tarvik.ini still takes the settings
// when this process may make a new file in it: Windows programs have always
// kept them beside themselves; on Linux a program folder is a bin folder
// (shared, or not the user's to fill), used only for a portable copy that
// already holds Tarvik.ini.
bool writableProgramFolderTakesSettings();

// Whether this process may make a new file in dir.
bool canCreateFileIn(const std::filesystem::path& dir);

// Where the settings go when the program's own folder is not used: the
// user's per-application settings folder (exeDir when there is none).
std::filesystem::path userConfigDir(const std::filesystem::path& exeDir);

}  // namespace tarvik::configdir

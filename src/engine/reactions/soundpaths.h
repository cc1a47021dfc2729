#pragma once
// File names stored in the settings are Windows-style Shift-JIS texts
// ("wav\接続.wav", "NameSound\", "mn128soho.log"). Here they become UTF-8
// paths with "\" read as "/", relative to the current directory as stored.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// Empty stays empty (an empty sound name plays nothing).
std::string settingsPath(std::string_view sjisName);

// The same name as a path for the file calls (see base/pathtext.h).
std::filesystem::path settingsFile(std::string_view sjisName);

// Where a relative sound name is looked for when the current directory does
// not hold it: the config directory, then the folders the program's own data
// was installed in (the default sound set lives there).
struct SoundFolders {
  std::filesystem::path configDir;
  std::vector<std::filesystem::path> dataDirs;
};

// The file to play for a path from settingsPath: an absolute path, or a
// relative one that names a file in the current directory, as it stands;
// else the first file of that name in the folders above; else the path as
// it stands (missing: the player falls back to the default sound).
std::string findSoundFile(const std::string& utf8Path, const SoundFolders& folders);

}  // namespace tarvik

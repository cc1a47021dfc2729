#pragma once
// File names stored in the settings are Windows-style Shift-JIS texts
// ("wav\接続.wav", "NameSound\", "mn128soho.log"). Here they become UTF-8
// paths with "\" read as "/", relative to the current directory as stored.

#include <string>
#include <string_view>

namespace tarvik {

// Empty stays empty (an empty sound name plays nothing).
std::string settingsPath(std::string_view sjisName);

}  // namespace tarvik

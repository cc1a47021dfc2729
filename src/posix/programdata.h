#pragma once
// Where the program's own data lies (the default sounds, the picture, the
// manual): one list for every Linux front end.

#include <filesystem>
#include <vector>

namespace tarvik::app {

// Beside the program in the build tree, then where it is installed
// (share/tarvik seen from bin/ and from libexec/tarvik/), then the system's
// data folders ($XDG_DATA_HOME, then each of $XDG_DATA_DIRS); no repeats.
std::vector<std::filesystem::path> programDataDirectories();

}  // namespace tarvik::app

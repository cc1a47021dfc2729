#include <system_error>

#include "settings/configdirplatform.h"
#include "settings/settingsfiles.h"

namespace tarvik {

// Beside the program when the settings are already kept there or could be
// (as they have always been kept on Windows); a program installed where it
// cannot write keeps them in the user's settings folder instead.
std::filesystem::path findConfigDir(const std::filesystem::path& explicitDir,
                                    const std::filesystem::path& exeDir) {
  if (!explicitDir.empty()) return explicitDir;
  if (!exeDir.empty()) {
    std::error_code error;
    if (std::filesystem::exists(exeDir / "Tarvik.ini", error) || configdir::canCreateFileIn(exeDir)) {
      return exeDir;
    }
  }
  return configdir::userConfigDir(exeDir);
}

}  // namespace tarvik

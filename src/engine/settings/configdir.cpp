#include <system_error>

#include "settings/configdirplatform.h"
#include "settings/settingsfiles.h"

namespace tarvik {

// Beside the program when the settings are already kept there (a portable
// copy), or, on Windows, when they could be (as they have always been kept
// there); otherwise in the user's settings folder.
std::filesystem::path findConfigDir(const std::filesystem::path& explicitDir,
                                    const std::filesystem::path& exeDir) {
  if (!explicitDir.empty()) return explicitDir;
  if (!exeDir.empty()) {
    std::error_code error;
    if (std::filesystem::exists(exeDir / "Tarvik.ini", error) ||
        (configdir::writableProgramFolderTakesSettings() && configdir::canCreateFileIn(exeDir))) {
      return exeDir;
    }
  }
  return configdir::userConfigDir(exeDir);
}

}  // namespace tarvik

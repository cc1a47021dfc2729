#include "engine/settings/configdirplatform.h"
#include "engine/settings/settingsfiles.h"

namespace tarvik {

// Beside the program when the platform's rule says so; otherwise in the
// user's settings folder.
std::filesystem::path findConfigDir(const std::filesystem::path& explicitDir,
                                    const std::filesystem::path& exeDir) {
  if (!explicitDir.empty()) return explicitDir;
  if (!exeDir.empty() && configdir::programFolderKeepsSettings(exeDir)) return exeDir;
  return configdir::userConfigDir(exeDir);
}

}  // namespace tarvik

#include "engine/reactions/soundpaths.h"

#include <algorithm>

#include "engine/base/pathtext.h"
#include "engine/base/sjis.h"

namespace tarvik {

std::string settingsPath(std::string_view sjisName) {
  // Convert first: a Shift-JIS trail byte can equal "\" and must not become "/".
  std::string path = toUtf8(sjisName);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::filesystem::path settingsFile(std::string_view sjisName) { return pathFromUtf8(settingsPath(sjisName)); }

std::string findSoundFile(const std::string& utf8Path, const SoundFolders& folders) {
  namespace fs = std::filesystem;
  const fs::path path = pathFromUtf8(utf8Path);
  std::error_code error;
  if (utf8Path.empty() || path.is_absolute() || fs::is_regular_file(path, error)) return utf8Path;
  std::vector<fs::path> places{folders.configDir};
  places.insert(places.end(), folders.dataDirs.begin(), folders.dataDirs.end());
  for (const fs::path& folder : places) {
    if (folder.empty()) continue;
    const fs::path candidate = folder / path;
    if (fs::is_regular_file(candidate, error)) return utf8Of(candidate);
  }
  return utf8Path;
}

}  // namespace tarvik

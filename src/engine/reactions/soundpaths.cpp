#include "reactions/soundpaths.h"

#include <algorithm>

#include "base/sjis.h"

namespace tarvik {

std::string settingsPath(std::string_view sjisName) {
  // Convert first: a Shift-JIS trail byte can equal "\" and must not become "/".
  std::string path = toUtf8(sjisName);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace tarvik

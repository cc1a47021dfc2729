#include "desktop/manualaddress.h"

namespace tarvik::desktop {

std::string fileUrl(std::string_view path) {
  std::string url = "file://";
  if (path.empty() || (path.front() != '/' && path.front() != '\\')) url += '/';
  for (const char c : path) {
    switch (c) {
      case '\\':
        url += '/';
        break;
      case ' ':
        url += "%20";
        break;
      case '%':
        url += "%25";
        break;
      case '#':
        url += "%23";
        break;
      case '?':
        url += "%3F";
        break;
      default:
        url += c;
    }
  }
  return url;
}

std::string manualAddress(std::string_view manualPath, ManualSection section) {
  return fileUrl(manualPath) + (section == ManualSection::Program ? "#tarvik" : "");
}

}  // namespace tarvik::desktop

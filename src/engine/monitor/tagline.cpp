#include "engine/monitor/tagline.h"

#include "engine/base/bytes.h"
#include "engine/settings/nameentry.h"

namespace tarvik {

void TagLine(std::string& line, const std::vector<std::string>& nameList) {
  for (const std::string& entry : nameList) {
    NameEntry e = splitNameEntry(entry);
    if (e.number.empty() || !contains(line, e.number)) continue;
    line += ' ';
    line += e.name;
  }
}

}  // namespace tarvik

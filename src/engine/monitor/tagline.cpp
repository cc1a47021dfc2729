#include "monitor/tagline.h"

#include "base/bytes.h"

namespace tarvik {

namespace {
constexpr std::size_t kNameLimit = 100;
}  // namespace

std::string_view entryNumber(std::string_view entry) {
  std::size_t colon = entry.find(':');
  return colon == std::string_view::npos ? std::string_view() : entry.substr(0, colon);
}

std::string_view entryName(std::string_view entry) {
  std::size_t colon = entry.find(':');
  if (colon == std::string_view::npos) return {};
  return sjisCut(entry.substr(colon + 1), kNameLimit);
}

void TagLine(std::string& line, const std::vector<std::string>& nameList) {
  for (const std::string& entry : nameList) {
    std::string_view number = entryNumber(entry);
    if (number.empty() || !contains(line, number)) continue;
    line += ' ';
    line += entryName(entry);
  }
}

}  // namespace tarvik

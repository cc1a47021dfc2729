#include "engine/settings/linefile.h"

#include <optional>

#include "engine/base/filebytes.h"

namespace tarvik {

std::vector<std::string> splitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  forEachLine(bytes, [&](std::string_view line, std::string_view) { lines.emplace_back(line); });
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::vector<std::string> readLineFile(const std::filesystem::path& path) {
  std::optional<std::string> bytes = readFileBytes(path);
  return bytes ? splitLines(*bytes) : std::vector<std::string>{};
}

bool writeLineFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  return replaceFileBytes(path, joinLines(lines));
}

}  // namespace tarvik

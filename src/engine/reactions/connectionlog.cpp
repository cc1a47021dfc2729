#include "engine/reactions/connectionlog.h"

#include <optional>
#include <set>
#include <system_error>

#include "engine/base/filebytes.h"
#include "engine/reactions/soundpaths.h"
#include "engine/base/pathtext.h"

namespace tarvik {

std::vector<std::string> splitLogLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::filesystem::path connectionLogPath(const std::filesystem::path& configDir, std::string_view sjisName) {
  const std::filesystem::path name(settingsFile(sjisName));
  return name.is_absolute() ? name : configDir / name;
}

namespace {

std::string joinLogLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// old's lines, then file's from where the two stop overlapping.
std::vector<std::string> mergeLogs(std::vector<std::string> old, const std::vector<std::string>& file) {
  const std::set<std::string> held(old.begin(), old.end());
  std::size_t seam = 0;
  while (seam < file.size() && held.count(file[seam])) ++seam;
  const bool meets = seam > 0 || file.empty() || (!old.empty() && old.back() == logBreakMarker()) ||
                     file.front() == logBreakMarker();
  if (!meets) old.push_back(logBreakMarker());
  old.insert(old.end(), file.begin() + static_cast<std::ptrdiff_t>(seam), file.end());
  return old;
}

}  // namespace

std::string adoptConnectionLog(const std::filesystem::path& old, const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(old, ec) || std::filesystem::equivalent(old, file, ec)) return {};
  const std::optional<std::string> oldText = readFileBytes(old);
  if (!oldText) return utf8Of(old) + " を読み込めません";
  std::string bytes = *oldText;  // no log in the config folder yet: the old one as it stands
  if (std::filesystem::exists(file, ec)) {
    const std::optional<std::string> fileText = readFileBytes(file);
    if (!fileText) return utf8Of(file) + " を読み込めません";
    const std::vector<std::string> oldLines = splitLogLines(*oldText);
    const std::vector<std::string> fileLines = splitLogLines(*fileText);
    const std::set<std::string> held(fileLines.begin(), fileLines.end());
    bool allHeld = true;
    for (const std::string& line : oldLines) allHeld = allHeld && held.count(line) > 0;
    if (allHeld) {
      std::filesystem::remove(old, ec);
      return {};
    }
    bytes = joinLogLines(mergeLogs(oldLines, fileLines));
  }
  if (!replaceFileBytes(file, bytes)) return utf8Of(file) + " に書き込めません";
  std::filesystem::remove(old, ec);  // a log left behind is found fully held next time
  return {};
}

LogCaptureStart prepareLogCapture(const std::filesystem::path& file) {
  LogCaptureStart start;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return start;
  std::optional<std::string> text = readFileBytes(file);
  if (!text) {
    start.error = utf8Of(file) + " を読み込めません";
    return start;
  }
  start.buffer = splitLogLines(*text);
  start.synced = start.buffer.empty() || start.buffer.back() == logBreakMarker();
  return start;
}

std::string writeConnectionLog(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  return replaceFileBytes(file, joinLogLines(lines)) ? std::string() : utf8Of(file) + " に書き込めません";
}

}  // namespace tarvik

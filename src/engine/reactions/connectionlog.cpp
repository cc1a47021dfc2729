#include "reactions/connectionlog.h"

#include <optional>
#include <system_error>

#include "base/filebytes.h"
#include "base/pathtext.h"

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
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return replaceFileBytes(file, bytes) ? std::string() : utf8Of(file) + " に書き込めません";
}

}  // namespace tarvik

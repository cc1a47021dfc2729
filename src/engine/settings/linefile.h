#pragma once
// Tarvik.lst and Tarvik.spt: plain Shift-JIS text, one entry per line.
// A line ends at CR, LF or CR LF when read; every line is written with CR LF
// after it, so what is read back is exactly the list that was written
// (an empty list is an empty file).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// Calls take(line, lineEnd) for every line of bytes; lineEnd is "\r\n", "\n",
// "\r", or "" for a last line without one.
template <class Take>
void forEachLine(std::string_view bytes, Take take) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      take(bytes.substr(pos), std::string_view());
      return;
    }
    std::string_view lineEnd = "\n";
    if (bytes[end] == '\r') lineEnd = (end + 1 < bytes.size() && bytes[end + 1] == '\n') ? "\r\n" : "\r";
    take(bytes.substr(pos, end - pos), lineEnd);
    pos = end + lineEnd.size();
  }
}

std::vector<std::string> splitLines(std::string_view bytes);
std::string joinLines(const std::vector<std::string>& lines);

// A missing or unreadable file is an empty list.
std::vector<std::string> readLineFile(const std::filesystem::path& path);
// Replaces the file (see replaceFileBytes); false when it cannot be written.
bool writeLineFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace tarvik

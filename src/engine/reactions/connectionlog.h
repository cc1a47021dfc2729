#pragma once
// The connection log file ([OPTION] LOG): the router's history ("sh h"),
// Shift-JIS lines ending in CR LF, merged into the file at every fetch.
//
// A fetch loads the file into the capture buffer; the parser appends the
// router's entries after the one equal to the file's last line (or all of
// them after a break marker) and the completed buffer is written back.
// Writing goes through replaceFileBytes, as for the settings files: a crash
// or a full disk leaves the old log as it was, its mode is kept and a linked
// log is replaced where it lies.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/historycapture.h"  // logBreakMarker

namespace tarvik {

struct LogCaptureStart {
  std::vector<std::string> buffer;  // the file's lines
  bool synced = true;               // new entries may be appended at once
  std::string error;                // UTF-8; not empty when the file could not be read
};

// FetchConnectionLog's preparation: a missing or empty file gives an empty,
// synced buffer; otherwise the file's lines, synced only when the last line
// is the break marker.
LogCaptureStart prepareLogCapture(const std::filesystem::path& file);

// Lines of a text (CR LF, LF or CR endings; a final line ending adds no line).
std::vector<std::string> splitLogLines(std::string_view text);

// Replaces the file's content with lines, each ending in CR LF. Returns an
// error text (UTF-8) on failure, leaving the old file untouched; a read-only
// log is refused like a read-only settings file.
std::string writeConnectionLog(const std::filesystem::path& file, const std::vector<std::string>& lines);

}  // namespace tarvik

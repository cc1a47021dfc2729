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
//
// The log lies in the config folder unless its name is absolute. Earlier
// versions wrote a relative name into the current folder (the home folder
// for a program started from a menu); such a log is taken into the config
// folder's once, so nothing it holds is lost.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/monitor/historycapture.h"  // logBreakMarker

namespace tarvik {

// Where the log named sjisName ([OPTION] LOG, Shift-JIS, "\" or "/" between
// folders) lies: a relative name in configDir, an absolute one as it says.
std::filesystem::path connectionLogPath(const std::filesystem::path& configDir, std::string_view sjisName);

// Takes a log an earlier version left at old into file: when file is not
// there, old becomes it; otherwise old's lines go before file's, the lines
// that both hold at the seam once, a break marker between them when they do
// not meet. Then old is removed. A log whose lines file already holds all
// of is only removed (so a log that could not be removed is not taken
// twice). Nothing happens when old is not a file or is file itself. Returns an
// error text (UTF-8) when old could not be read or file not written; old is
// then left as it was.
std::string adoptConnectionLog(const std::filesystem::path& old, const std::filesystem::path& file);

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

#pragma once
// Program options of `tarvik`.
//
// Options are taken out of the argument list before the rest is handed to
// the core as action words: the core looks for "co", "b1" and "b2" inside
// every remaining argument, so an option such as --config-dir (or a
// directory name that happens to contain "co") must never reach it.

#include <optional>
#include <string>
#include <vector>

#include "engine/ports/clock.h"

namespace tarvik::app {

struct ProgramOptions {
  bool headless = false;
  bool printSettings = false;
  bool help = false;
  bool version = false;
  bool usage = false;      // --usage: print a month of the call journal
  std::string usageMonth;  // its "YYYY-MM"; empty: this month
  std::string configDir;  // empty: not given
  int pollMs = 0;         // 0: the poll interval from the settings
  // --clock-start: the program's clock starts at this local time and runs
  // on from there (for tests of timed behaviour); nothing: the real clock.
  std::optional<LocalTime> clockStart;
  std::vector<std::string> actionWords;
};

struct ParsedOptions {
  ProgramOptions options;
  std::string error;  // empty when the arguments were understood
};

// arguments: the command line without the program name.
ParsedOptions parseProgramOptions(const std::vector<std::string>& arguments);

// True unless the command line holds --headless, --help, --version,
// --print-settings or --usage (before any "--"). Decided before the application object
// exists: only the desktop program creates a QApplication, which needs a
// display and takes its own options (such as -platform) out of the list
// before parseProgramOptions sees it.
bool needsWindows(const std::vector<std::string>& arguments);

// The arguments without --config-dir and its value (either form), the
// words after "--" left as they are: for a program handed the resolved
// folder in their place.
std::vector<std::string> withoutConfigDir(const std::vector<std::string>& arguments);

std::string helpText(const std::string& programName);
std::string versionText();

// Exit code for a command line that was not understood, or a start that
// cannot work (no router address in headless mode).
constexpr int kUsageExitCode = 2;

}  // namespace tarvik::app

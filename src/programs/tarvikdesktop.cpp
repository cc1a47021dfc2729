// `tarvik-desktop`: the windows. `tarvik` hands a start with windows over
// to it; it can do everything `tarvik` does. Program options come out of
// the argument list first; what is left are the action words for the core.

#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/options.h"
#include "engine/settings/settingsfiles.h"
#include "app/textanswers.h"
#include "programs/linuxstart.h"
#include "qt/desktop/desktop.h"

namespace fs = std::filesystem;
using namespace tarvik;
using namespace tarvik::app;
using namespace tarvik::programs;

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  // A wrong option is reported before any application object exists.
  ParsedOptions parsed = parseProgramOptions(arguments);
  if (!parsed.error.empty()) return app::reportUsageError(parsed.error);
  if (!needsWindows(arguments)) return runWithoutWindows(argv, parsed.options);
  if (!displayReachable(arguments)) {
    std::fputs("tarvik: no display found; run 'tarvik --headless' to use Tarvik without windows\n", stderr);
    return 1;
  }
  QApplication app(argc, argv);  // takes Qt's own options (-platform ...) out of argv
  parsed = parseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.error.empty()) return app::reportUsageError(parsed.error);
  const fs::path configDir = findConfigDir(parsed.options.configDir, executableDir(argv[0]));
  return runDesktop(app, parsed.options, configDir);
}

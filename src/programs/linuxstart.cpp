// What both Linux programs do before any window exists.

#include "programs/linuxstart.h"

#include <cstdio>
#include <cstdlib>

#include "app/usageprint.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingsprint.h"
#include "headless/runheadless.h"

namespace fs = std::filesystem;

namespace tarvik::programs {

using namespace tarvik::app;

namespace {

// Loads the settings as the program does at start (no first-run dialog),
// prints them as INI text and ends; settings that cannot be read end it as
// they end a start.
int printSettingsOf(const fs::path& configDir) {
  const PrintedSettings printed = printSettingsIn(configDir);
  if (!printed.error.empty()) {
    std::fprintf(stderr, "tarvik: cannot read the settings in %s: %s\n", configDir.c_str(),
                 printed.error.c_str());
    return kUsageExitCode;
  }
  std::fputs(printed.text.c_str(), stdout);
  return 0;
}

}  // namespace

fs::path executableDir(const char* argv0) {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::absolute(argv0, ec);
  return exe.parent_path();
}

int usageError(const std::string& error) {
  std::fprintf(stderr, "tarvik: %s\nTry 'tarvik --help' for more information.\n", error.c_str());
  return kUsageExitCode;
}

int runWithoutWindows(char** argv, const ProgramOptions& options) {
  if (options.help) {
    std::fputs(helpText("tarvik").c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::fputs(versionText().c_str(), stdout);
    return 0;
  }
  const fs::path configDir = findConfigDir(options.configDir, executableDir(argv[0]));
  if (options.printSettings) return printSettingsOf(configDir);
  if (options.usage) return printUsage(configDir, options.usageMonth);

  return runHeadless(options, configDir);
}

bool displayReachable(const std::vector<std::string>& arguments) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  for (const std::string& arg : arguments) {
    if (arg == "-platform") return true;
  }
  return false;
}

}  // namespace tarvik::programs

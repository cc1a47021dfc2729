// What both Linux programs do before any window exists.

#include "programs/linuxstart.h"

#include <cstdio>
#include <cstdlib>

#include "app/textanswers.h"
#include "engine/settings/settingsfiles.h"
#include "headless/runheadless.h"

namespace fs = std::filesystem;

namespace tarvik::programs {

using namespace tarvik::app;

fs::path executableDir(const char* argv0) {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::absolute(argv0, ec);
  return exe.parent_path();
}

int runWithoutWindows(char** argv, const ProgramOptions& options) {
  if (auto exitCode = answerHelpOrVersion(options)) return *exitCode;
  const fs::path configDir = findConfigDir(options.configDir, executableDir(argv[0]));
  if (auto exitCode = answerSettingsOrUsage(options, configDir)) return *exitCode;

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

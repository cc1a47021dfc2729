// `tarvik`: everything without windows (headless, --print-settings,
// --usage, --help, --version). A start with windows is handed over to the
// desktop program by exec, so that this program never loads the widget
// libraries. Program options come out of the argument list first; what is
// left are the action words for the core.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/options.h"
#include "engine/settings/settingsfiles.h"
#include "app/textanswers.h"
#include "programs/linuxstart.h"

namespace fs = std::filesystem;
using namespace tarvik;
using namespace tarvik::app;
using namespace tarvik::programs;

namespace {
// The desktop program: beside this one in a build tree, in
// <prefix>/libexec/tarvik when installed.
fs::path desktopProgram(const fs::path& exeDir) {
  for (const fs::path& candidate :
       {exeDir / "tarvik-desktop", exeDir.parent_path() / "libexec" / "tarvik" / "tarvik-desktop"}) {
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

// Replaces this process with the desktop program, same arguments, with the
// config directory resolved here (the desktop program may live elsewhere).
int execDesktop(int argc, char** argv, const ProgramOptions& options) {
  const fs::path exeDir = executableDir(argv[0]);
  const fs::path program = desktopProgram(exeDir);
  if (program.empty()) {
    std::fputs("tarvik: the desktop program is not installed; run 'tarvik --headless'\n", stderr);
    return 1;
  }
  const std::string configDir = findConfigDir(options.configDir, exeDir).string();
  // The folder given on the command line is the one resolved: it goes once.
  std::vector<std::string> forwarded = withoutConfigDir(std::vector<std::string>(argv + 1, argv + argc));
  std::vector<char*> args{argv[0], const_cast<char*>("--config-dir"), const_cast<char*>(configDir.c_str())};
  for (std::string& arg : forwarded) args.push_back(arg.data());
  args.push_back(nullptr);
  ::execv(program.c_str(), args.data());
  std::fprintf(stderr, "tarvik: cannot start %s\n", program.c_str());
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  // A wrong option is reported before anything else happens.
  const ParsedOptions parsed = parseProgramOptions(arguments);
  if (!parsed.error.empty()) return app::reportUsageError(parsed.error);
  if (!needsWindows(arguments)) return runWithoutWindows(argv, parsed.options);
  if (!displayReachable(arguments)) {
    std::fputs("tarvik: no display found; run 'tarvik --headless' to use Tarvik without windows\n", stderr);
    return 1;
  }
  return execDesktop(argc, argv, parsed.options);
}

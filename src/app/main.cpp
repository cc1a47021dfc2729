// The program's entry point. Program options come out of the argument list
// first; what is left are the action words for the core.
//
// Built twice: as `tarvik`, which runs everything without windows (headless,
// --print-settings, --help, --version) and hands a start with windows over to
// the desktop program by exec, so that the headless program never loads the
// widget libraries; and as `tarvik-desktop` (TARVIK_HAVE_DESKTOP), which
// holds the windows and can do everything `tarvik` does.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "runheadless.h"
#include "options.h"
#include "settings/settingsfiles.h"
#include "settings/settingsprint.h"
#include "usageprint.h"
#include "settings/settingsstore.h"

#ifdef TARVIK_HAVE_DESKTOP
#include <QApplication>

#include "desktop/desktop.h"
#endif

namespace fs = std::filesystem;
using namespace tarvik;
using namespace tarvik::app;

namespace {

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

// Qt ends the process with an abort when it finds no display; say what to
// do instead. A platform chosen by the environment or by -platform is left
// to Qt.
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

#ifndef TARVIK_HAVE_DESKTOP
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
int execDesktop(char** argv, const ProgramOptions& options) {
  const fs::path exeDir = executableDir(argv[0]);
  const fs::path program = desktopProgram(exeDir);
  if (program.empty()) {
    std::fputs("tarvik: the desktop program is not installed; run 'tarvik --headless'\n", stderr);
    return 1;
  }
  const std::string configDir = findConfigDir(options.configDir, exeDir).string();
  std::vector<char*> args{argv[0], const_cast<char*>("--config-dir"), const_cast<char*>(configDir.c_str())};
  for (char** a = argv + 1; *a; ++a) args.push_back(*a);
  args.push_back(nullptr);
  ::execv(program.c_str(), args.data());
  std::fprintf(stderr, "tarvik: cannot start %s\n", program.c_str());
  return 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  // A wrong option is reported before any application object exists.
  ParsedOptions parsed = parseProgramOptions(arguments);
  if (!parsed.error.empty()) return usageError(parsed.error);
  if (!needsWindows(arguments)) return runWithoutWindows(argv, parsed.options);
  if (!displayReachable(arguments)) {
    std::fputs("tarvik: no display found; run 'tarvik --headless' to use Tarvik without windows\n", stderr);
    return 1;
  }
#ifdef TARVIK_HAVE_DESKTOP
  QApplication app(argc, argv);  // takes Qt's own options (-platform ...) out of argv
  parsed = parseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.error.empty()) return usageError(parsed.error);
  const fs::path configDir = findConfigDir(parsed.options.configDir, executableDir(argv[0]));
  return runDesktop(app, parsed.options, configDir);
#else
  return execDesktop(argv, parsed.options);
#endif
}

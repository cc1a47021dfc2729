// The entry point of tarvik.exe. Program options come out of the argument
// list first (the same options as on Linux); what is left are the action
// words for the core. Arguments arrive in UTF-16 and are UTF-8 from here on.
// The program is built for the window subsystem (no console of its own);
// the command lines that print use the parent's console (consoleoutput.h).

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/usageprint.h"
#include "win32/consoleoutput.h"
#include "win32/desktop/rundesktop.h"
#include "win32/programdir.h"
#include "win32/runheadless.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingsprint.h"
#include "engine/settings/settingsstore.h"
#include "win32/widetext.h"

namespace fs = std::filesystem;
using namespace tarvik;
using namespace tarvik::app;

namespace {

// UTF-8 bytes go out as they are, LF line ends included, whether standard
// output is a console, a pipe or a file; a console shows them as UTF-8.
void prepareOutput() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  ::SetConsoleOutputCP(CP_UTF8);
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
    std::fprintf(stderr, "tarvik: cannot read the settings in %s: %s\n",
                 win32::narrow(configDir.wstring()).c_str(), printed.error.c_str());
    return kUsageExitCode;
  }
  std::fputs(printed.text.c_str(), stdout);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(win32::narrow(argv[i]));
  ParsedOptions parsed = parseProgramOptions(arguments);
  // The desktop program prints nothing; every other command line prints.
  if (!needsWindows(arguments) || !parsed.error.empty()) win32::useParentConsole();
  prepareOutput();
  if (!parsed.error.empty()) return usageError(parsed.error);
  const ProgramOptions& options = parsed.options;
  if (options.help) {
    std::fputs(helpText("tarvik").c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::fputs(versionText().c_str(), stdout);
    return 0;
  }
  const fs::path configDir = findConfigDir(fs::path(win32::widen(options.configDir)), win32::executableDir());
  if (options.printSettings) return printSettingsOf(configDir);
  // The usage table goes out in UTF-8, as every line this program prints
  // (prepareOutput): the console shows its Japanese as it is.
  if (options.usage) return printUsage(configDir, options.usageMonth);
  if (needsWindows(arguments)) return win32::runDesktop(options, configDir);
  return win32::runHeadless(options, configDir);
}

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
#include "app/textanswers.h"
#include "win32/consoleoutput.h"
#include "win32/consoletext.h"
#include "win32/desktop/rundesktop.h"
#include "win32/programdir.h"
#include "win32/runheadless.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingsstore.h"
#include "win32/widetext.h"

namespace fs = std::filesystem;
using namespace tarvik;
using namespace tarvik::app;

namespace {

// UTF-8 bytes go out as they are, LF line ends included, to a pipe or a
// file; a console gets them as UTF-16 lines (consoletext.h).
void prepareOutput() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(win32::narrow(argv[i]));
  ParsedOptions parsed = parseProgramOptions(arguments);
  // The desktop program prints nothing; every other command line prints.
  if (!needsWindows(arguments) || !parsed.error.empty()) win32::useParentConsole();
  prepareOutput();
  const win32::ConsoleText consoleText;
  if (!parsed.error.empty()) return reportUsageError(parsed.error);
  const ProgramOptions& options = parsed.options;
  if (auto exitCode = answerHelpOrVersion(options)) return *exitCode;
  const fs::path configDir = findConfigDir(fs::path(win32::widen(options.configDir)), win32::executableDir());
  // The settings and the usage table go out in UTF-8, as every line this
  // program prints: a console shows their Japanese in its own code page.
  if (auto exitCode = answerSettingsOrUsage(options, configDir)) return *exitCode;
  if (needsWindows(arguments)) return win32::runDesktop(options, configDir);
  return win32::runHeadless(options, configDir);
}

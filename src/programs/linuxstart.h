#pragma once
// What both Linux programs do before any window exists: where the program
// lies, and everything a start without windows does
// (--help, --version, --print-settings, --usage, the headless program).

#include <filesystem>
#include <string>
#include <vector>

#include "app/options.h"

namespace tarvik::programs {

std::filesystem::path executableDir(const char* argv0);

// Runs whatever needs no windows; the exit code.
int runWithoutWindows(char** argv, const app::ProgramOptions& options);

// Qt ends the process with an abort when it finds no display; this says
// beforehand whether one can be reached. A platform chosen by the
// environment or by -platform is left to Qt.
bool displayReachable(const std::vector<std::string>& arguments);

}  // namespace tarvik::programs

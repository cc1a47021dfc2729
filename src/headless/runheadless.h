#pragma once
// `tarvik --headless`: the whole program with a text View on standard
// output, no dialogs, ended by SIGINT or SIGTERM.

#include <filesystem>

#include "options.h"

class QCoreApplication;

namespace tarvik::app {

// Runs until a signal (or the core's own close); returns the exit code.
int runHeadless(QCoreApplication& app, const ProgramOptions& options, const std::filesystem::path& configDir);

}  // namespace tarvik::app

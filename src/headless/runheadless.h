#pragma once
// `tarvik --headless`: the whole program with a text View on standard
// output, no dialogs, on a libuv event loop; ended by SIGINT, SIGTERM or
// SIGHUP (or by the core's own close).

#include <filesystem>

#include "app/options.h"

namespace tarvik::app {

// Runs until a signal (or the core's own close); returns the exit code.
int runHeadless(const ProgramOptions& options, const std::filesystem::path& configDir);

}  // namespace tarvik::app

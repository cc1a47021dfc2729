#pragma once
// `tarvik.exe --headless`: the whole program with a text View on standard
// output, no dialogs, on the Win32 message loop; ended by Ctrl-C,
// Ctrl-Break or the closing of its console. The start-up sequence is the
// shared one (startup.h).

#include <filesystem>

#include "app/options.h"

namespace tarvik::win32 {

int runHeadless(const app::ProgramOptions& options, const std::filesystem::path& configDir);

}  // namespace tarvik::win32

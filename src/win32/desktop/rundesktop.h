#pragma once
// `tarvik.exe` with windows: the core with the Windows adapters, the main
// window, the tray icons and the dialogs, started by the shared start-up
// sequence (startup.h).

#include <filesystem>

#include "app/options.h"

namespace tarvik::win32 {

int runDesktop(const app::ProgramOptions& options, const std::filesystem::path& configDir);

}  // namespace tarvik::win32

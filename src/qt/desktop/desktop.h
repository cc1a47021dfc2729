#pragma once
// The desktop program: the core with the Qt adapters, the windows and the
// tray icons, started by the shared start-up sequence (startup.h). main()
// calls runDesktop() once the program options are taken out of the
// arguments and the config directory is found.

#include <filesystem>

#include "app/options.h"

class QApplication;

namespace tarvik {

// The exit status when the settings files cannot be read (the shared
// start-up's usage status).
inline constexpr int kSettingsUnreadable = app::kUsageExitCode;

// Runs the program until it closes; returns the exit code.
int runDesktop(QApplication& app, const app::ProgramOptions& options, const std::filesystem::path& configDir);

}  // namespace tarvik

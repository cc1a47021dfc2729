#pragma once
// The desktop program: the core with the Qt adapters, the windows and the
// tray icons. main() calls runDesktop() once the single-instance lock is
// held and the program options are taken out of the arguments.

#include <filesystem>
#include <string>
#include <vector>

class QApplication;

namespace tarvik {

struct DesktopOptions {
  std::filesystem::path configDir;       // where Tarvik.ini, .lst and .spt live
  std::vector<std::string> actionWords;  // "co", "b1", "b2" ... for the core
  int pollMs = 0;                        // test-only poll interval; 0: [OPTION] TIME
};

// Runs the program until it closes; returns the exit code.
// The exit status when the settings files cannot be read.
inline constexpr int kSettingsUnreadable = 2;

int runDesktop(QApplication& app, const DesktopOptions& options);

}  // namespace tarvik

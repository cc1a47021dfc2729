#pragma once
// The command lines that ask only for text, answered the same way by every
// program: --help and --version, --print-settings and --usage, and the
// message for a command line that cannot be understood. Output goes to
// standard output, errors to standard error, as UTF-8.

#include <filesystem>
#include <optional>
#include <string>

#include "app/options.h"

namespace tarvik::app {

// --help or --version: printed, with the exit code; nothing otherwise.
std::optional<int> answerHelpOrVersion(const ProgramOptions& options);

// --print-settings (the settings of configDir as INI text, loaded as a
// start loads them) or --usage: printed, with the exit code; nothing
// otherwise.
std::optional<int> answerSettingsOrUsage(const ProgramOptions& options, const std::filesystem::path& configDir);

// The command line's error and where to find help; returns kUsageExitCode.
int reportUsageError(const std::string& error);

}  // namespace tarvik::app

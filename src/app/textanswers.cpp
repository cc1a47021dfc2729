#include "app/textanswers.h"

#include <cstdio>

#include "app/usageprint.h"
#include "engine/settings/settingsprint.h"

namespace tarvik::app {

std::optional<int> answerHelpOrVersion(const ProgramOptions& options) {
  if (options.help) {
    std::fputs(helpText("tarvik").c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::fputs(versionText().c_str(), stdout);
    return 0;
  }
  return std::nullopt;
}

std::optional<int> answerSettingsOrUsage(const ProgramOptions& options, const std::filesystem::path& configDir) {
  if (options.printSettings) {
    // Settings that cannot be read end it as they end a start.
    const PrintedSettings printed = printSettingsIn(configDir);
    if (!printed.error.empty()) {
      const std::u8string dir = configDir.u8string();
      std::fprintf(stderr, "tarvik: cannot read the settings in %s: %s\n",
                   reinterpret_cast<const char*>(dir.c_str()), printed.error.c_str());
      return kUsageExitCode;
    }
    // The values printed are those in force; what the file holds instead
    // is said beside them.
    for (const std::string& note : printed.notes) {
      std::fprintf(stderr, "tarvik: Tarvik.ini の読めない設定: %s\n", note.c_str());
    }
    std::fputs(printed.text.c_str(), stdout);
    return 0;
  }
  if (options.usage) return printUsage(configDir, options.usageMonth);
  return std::nullopt;
}

int reportUsageError(const std::string& error) {
  std::fprintf(stderr, "tarvik: %s\nTry 'tarvik --help' for more information.\n", error.c_str());
  return kUsageExitCode;
}

}  // namespace tarvik::app

#include "app/startup.h"

#include <cstdio>
#include <exception>

#include "app/singleinstance.h"
#include "engine/base/bytes.h"

namespace tarvik::app {

int runProgram(const ProgramOptions& options, const std::filesystem::path& configDir,
               const std::function<std::unique_ptr<FrontEnd>()>& make) {
  SingleInstance instance;
  if (!instance.acquired()) {
    // Another Tarvik runs in this session: it comes forward and acts on this
    // start's words, and this one ends.
    std::string problem;
    if (!instance.handOver(options.actionWords, problem)) {
      std::fprintf(stderr, "tarvik: Tarvik is already running and did not answer: %s\n", problem.c_str());
    }
    return 0;
  }

  std::unique_ptr<FrontEnd> frontEnd = make();
  // The core goes before the front end's ports, on every way out.
  struct EndCore {
    FrontEnd& frontEnd;
    ~EndCore() { frontEnd.destroyCore(); }
  } endCore{*frontEnd};

  if (options.clockStart) frontEnd->startClockAt(*options.clockStart);
  TarvikCore& core = frontEnd->createCore(configDir);
  core.FormCreate(options.actionWords);
  frontEnd->created(core);
  try {
    core.loadSettings();
  } catch (const std::exception& e) {
    frontEnd->settingsUnreadable(configDir, core.files().iniPath(), e.what());
    return kUsageExitCode;
  }
  if (trimBlanks(core.settings().tarvik.SOHOIP).empty() && !frontEnd->routerAddressMissing(core)) {
    return kUsageExitCode;
  }
  if (!frontEnd->settingsLoaded(core)) return kUsageExitCode;
  if (options.pollMs > 0) core.setPollIntervalOverrideMs(options.pollMs);
  return frontEnd->run(core);
}

}  // namespace tarvik::app

#pragma once
// The one start-up and shutdown sequence of every front end: single
// instance, the core over the front end's ports, the settings loaded (a
// file that cannot be read ends the run with kUsageExitCode after the front
// end has said so; a blank router address is the front end's to ask for or
// refuse), the front end shown and its loop run, the core ended before the
// front end's ports go.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "engine/core/tarvikcore.h"
#include "app/options.h"

namespace tarvik::app {

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  // Builds the core over the front end's ports and the settings files of
  // configDir (windows created, nothing shown yet).
  virtual TarvikCore& createCore(const std::filesystem::path& configDir) = 0;
  // For tests (--clock-start): the core's clock starts at `start` and runs
  // on from there. Called before createCore.
  virtual void startClockAt(const LocalTime& start) = 0;
  // After the core's FormCreate, before the settings are loaded.
  virtual void created(TarvikCore&) {}
  // The settings could not be read: tell the user. The run then ends.
  virtual void settingsUnreadable(const std::filesystem::path& configDir, const std::filesystem::path& iniPath,
                                  const std::string& reason) = 0;
  // The router address is blank: ask for one (and store it in the
  // settings), or refuse to run without one (false).
  virtual bool routerAddressMissing(TarvikCore& core) = 0;
  // The settings are loaded and hold an address: a last check before the
  // run (the headless program reads a password kept in the keyring here);
  // false ends the run.
  virtual bool settingsLoaded(TarvikCore&) { return true; }
  // Shows the program, runs its loop until it ends; returns the exit code.
  virtual int run(TarvikCore& core) = 0;
  // Ends the core before the front end's ports go away.
  virtual void destroyCore() = 0;
};

// Runs the program in configDir with the front end that make() builds once
// this process holds the single-instance lock. Returns the exit code: 0
// also when another instance runs (which is handed this start's action
// words and comes forward; this one ends).
int runProgram(const ProgramOptions& options, const std::filesystem::path& configDir,
               const std::function<std::unique_ptr<FrontEnd>()>& make);

}  // namespace tarvik::app

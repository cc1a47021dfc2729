#pragma once
// The core's Launcher port on QProcess. A command line is split into the
// program and its arguments (a program path may hold blanks, quoted or
// not) and started without a shell. They inherit the program's standard output
// and error (no pipe that could fill up and stall them) and read from the
// null device.
//
// end() asks a still-running child to close (SIGTERM) and kills it
// (SIGKILL) if it is still there 5 seconds later, without waiting for it.
// Children are reaped as they end. When the launcher goes away, programs
// still running are left running, as the user started them to keep.

#include <QObject>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/ports/launcher.h"

class QProcess;
class QTimer;

namespace tarvik {

class QtLauncher : public Launcher {
 public:
  static constexpr int kKillAfterMs = 5000;

  explicit QtLauncher(int killAfterMs = kKillAfterMs);
  ~QtLauncher() override;

  ProcessHandle start(const std::string& commandLine) override;
  // Starts argv[0] with the rest as its arguments.
  ProcessHandle startProgram(const std::vector<std::string>& argv);
  void end(ProcessHandle process) override;

  // True while the process started under this handle runs.
  bool isRunning(ProcessHandle process) const;
  // The system's process id (0 when the handle is unknown or has ended).
  qint64 pid(ProcessHandle process) const;

 private:
  class Child;
  void forget(ProcessHandle process);

  int killAfterMs_;
  ProcessHandle next_ = 1;
  std::map<ProcessHandle, std::unique_ptr<Child>> children_;
};

}  // namespace tarvik

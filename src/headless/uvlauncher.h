#pragma once
// The core's Launcher port on libuv child processes. Programs start from
// an argument list, never through a shell. They inherit the program's
// standard output and error (no pipe that could fill up and stall them)
// and read from the null device.
//
// end() asks a still-running child to close (SIGTERM) and kills it
// (SIGKILL) if it is still there 5 seconds later, without waiting for it.
// Children are reaped by the loop as they end, and a child's record goes
// with its exit: a signal is only ever sent to a child that has not been
// reaped, so never to a process that took over its id. When the launcher
// goes away, programs still running are left running, as the user started
// them to keep.

#include <map>
#include <string>
#include <vector>

#include "headless/eventloop.h"
#include "engine/ports/launcher.h"

namespace tarvik::app {

class UvLauncher : public Launcher {
 public:
  static constexpr int kKillAfterMs = 5000;

  explicit UvLauncher(EventLoop& loop, int killAfterMs = kKillAfterMs);
  ~UvLauncher() override;
  UvLauncher(const UvLauncher&) = delete;
  UvLauncher& operator=(const UvLauncher&) = delete;

  // Splits the line by the platform's rules (commandline.h) and starts it.
  ProcessHandle start(const std::string& commandLine) override;
  void end(ProcessHandle process) override;

  // argv[0] is the program, found on PATH when it has no "/".
  ProcessHandle startProgram(const std::vector<std::string>& argv);

  // True while the process started under this handle runs (not yet reaped).
  bool isRunning(ProcessHandle process) const;
  // The system's process id (0 when the handle is unknown or has ended).
  int pid(ProcessHandle process) const;

  struct Child;  // the process and kill-timer handles; freed by the loop

 private:
  void exited(Child* child);

  EventLoop& loop_;
  int killAfterMs_;
  ProcessHandle next_ = 1;
  std::map<ProcessHandle, Child*> children_;
};

}  // namespace tarvik::app

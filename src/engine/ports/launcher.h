#pragma once
#include <string>

namespace tarvik {

using ProcessHandle = long long;
constexpr ProcessHandle kNoProcess = -1;

// Starts the user's programs, never through a shell.
class Launcher {
 public:
  virtual ~Launcher() = default;
  // commandLine is UTF-8, as the user typed it with "$IP" filled in; the
  // front end splits it into the program and its arguments by its
  // platform's rules. Returns kNoProcess when the program could not be
  // started (not found, not executable); the core tells the user.
  virtual ProcessHandle start(const std::string& commandLine) = 0;
  // Asks a still-running child to close (SIGTERM) and forces it (SIGKILL)
  // if it has not ended 5 seconds later. A process that has already ended,
  // or that is not our child, is left alone.
  virtual void end(ProcessHandle process) = 0;
};

}  // namespace tarvik

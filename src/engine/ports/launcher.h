#pragma once
#include <string>
#include <vector>

namespace tarvik {

using ProcessHandle = long long;
constexpr ProcessHandle kNoProcess = -1;

// Starts the user's programs, never through a shell.
class Launcher {
 public:
  virtual ~Launcher() = default;
  // argv[0] is the program. Returns kNoProcess when it could not be started.
  virtual ProcessHandle start(const std::vector<std::string>& argv) = 0;
  // Asks a still-running child to close (SIGTERM) and forces it (SIGKILL)
  // if it has not ended 5 seconds later. A process that has already ended,
  // or that is not our child, is left alone.
  virtual void end(ProcessHandle process) = 0;
};

}  // namespace tarvik

#include "headless/runheadless.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "headless/headlessfrontend.h"

namespace tarvik::app {
namespace {

// The event lines keep standard output to themselves. Launched programs
// inherit descriptor 1, so it is pointed at standard error, and the events
// go to a private copy of the original that no child inherits.
std::FILE* takeEventStream() {
  std::fflush(stdout);
  int fd = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  if (fd < 0) return stdout;
  std::FILE* events = ::fdopen(fd, "w");
  if (!events) {
    ::close(fd);
    return stdout;
  }
  ::dup2(STDERR_FILENO, STDOUT_FILENO);
  return events;
}

}  // namespace

int runHeadless(const ProgramOptions& options, const std::filesystem::path& configDir) {
  return runProgram(options, configDir,
                    [] { return std::make_unique<HeadlessFrontEnd>(takeEventStream()); });
}

}  // namespace tarvik::app

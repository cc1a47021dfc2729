#pragma once
// Runs `tarvik --headless` and reads its event lines (the simulator it talks
// to comes from the shared harness, sim/simharness.h). Plain POSIX:
// fork/exec with a pipe on standard output, poll() with deadlines.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes/testdir.h"
#include "sim/simharness.h"

namespace tarvik::headless_test {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

// How long a test waits for an event before it gives up: generous, so that
// a loaded machine makes a test slow, never wrong.
constexpr Ms kEventWait = 20s;

// A fresh directory per test, removed at the end.
using TempDir = testing::TestDir;

using simtest::freePort;

// Asks `condition` every 20 ms until it holds; false when it still does not
// at the deadline.
bool waitUntil(const std::function<bool()>& condition, Ms timeout = kEventWait);

// One event line: the kind and its TAB-separated fields (escapes undone).
struct Line {
  std::string kind;
  std::vector<std::string> fields;
  std::string text() const;  // the fields joined by TAB, as printed
};
Line parseLine(const std::string& raw);

class Child {
 public:
  Child() = default;
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Starts program with args in workDir; standard error goes to errFile.
  void start(const std::filesystem::path& program, const std::vector<std::string>& args,
             const std::filesystem::path& workDir, const std::filesystem::path& errFile);
  // Windows programs under Wine need the display for any window, their own
  // or a started program's; every other program starts without one.
  void keepDisplay(bool keep) { keepDisplay_ = keep; }
  pid_t pid() const { return pid_; }
  bool running();
  // Waits for the process to end; returns its exit code, or 128 + signal,
  // or nullopt when it was still running at the deadline.
  std::optional<int> wait(Ms timeout);
  void signal(int sig);
  void stop();  // SIGTERM, then SIGKILL after a grace period
  void reset();  // stops the process and forgets its output: ready to start again

  // Standard output, split into lines. Every line read is kept.
  const std::vector<std::string>& lines() const { return lines_; }
  // Reads until a line from index `from` on satisfies pred; returns its
  // index, or -1 at the deadline (or end of output).
  int waitLine(const std::function<bool(const std::string&)>& pred, Ms timeout, std::size_t from = 0);
  // Reads whatever arrives during `d` (or until the output ends).
  void drain(Ms d);

 private:
  bool readSome(Ms timeout);  // false at the end of output or the deadline

  pid_t pid_ = -1;
  bool keepDisplay_ = false;
  int out_ = -1;
  std::optional<int> status_;
  std::string partial_;
  std::vector<std::string> lines_;
};

#ifdef TARVIK_BINARY
// The program under test, as the test program was built to run it.
inline std::filesystem::path tarvikBinary() { return TARVIK_BINARY; }
#endif

}  // namespace tarvik::headless_test

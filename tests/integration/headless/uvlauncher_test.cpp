// UvLauncher against the launcher contracts: the port's and the argument
// list's (tests/support/contracts). Every case it has is one of theirs.
#include "headless/uvlauncher.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contracts/argvlaunchercontract.h"
#include "contracts/launchercontract.h"
#include "contracts/posixprograms.h"

namespace tarvik::app {
namespace {

using namespace tarvik::contracts;

struct UvLauncherDriver : PosixPrograms {
  Launcher& launcher() { return *adapter; }
  void dropLauncher() { adapter.reset(); }
  bool runUntil(const std::function<bool()>& done, int timeoutMs) { return loop.runUntil(done, timeoutMs); }
  bool isRunning(ProcessHandle p) const { return adapter && adapter->isRunning(p); }
  long long pid(ProcessHandle p) const { return adapter ? adapter->pid(p) : 0; }
  ProcessHandle startProgram(const std::vector<std::string>& argv) { return adapter->startProgram(argv); }

  EventLoop loop;
  std::unique_ptr<UvLauncher> adapter = std::make_unique<UvLauncher>(loop, kGraceMs);
};

using Drivers = ::testing::Types<UvLauncherDriver>;
INSTANTIATE_TYPED_TEST_SUITE_P(Uv, LauncherContract, Drivers);
INSTANTIATE_TYPED_TEST_SUITE_P(Uv, ArgvLauncherContract, Drivers);

}  // namespace
}  // namespace tarvik::app

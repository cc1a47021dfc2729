// QtLauncher against the launcher contracts: the port's and the argument
// list's (tests/support/contracts). Every case it has is one of theirs.

#include "qt/adapters/qtlauncher.h"

#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contracts/argvlaunchercontract.h"
#include "contracts/launchercontract.h"
#include "contracts/posixprograms.h"

namespace tarvik {
namespace {

using namespace tarvik::contracts;

struct QtLauncherDriver : PosixPrograms {
  Launcher& launcher() { return *adapter; }
  void dropLauncher() { adapter.reset(); }
  bool runUntil(const std::function<bool()>& done, int timeoutMs) { return QTest::qWaitFor(done, timeoutMs); }
  bool isRunning(ProcessHandle p) const { return adapter && adapter->isRunning(p); }
  long long pid(ProcessHandle p) const { return adapter ? adapter->pid(p) : 0; }
  ProcessHandle startProgram(const std::vector<std::string>& argv) { return adapter->startProgram(argv); }

  std::unique_ptr<QtLauncher> adapter = std::make_unique<QtLauncher>(kGraceMs);
};

using Drivers = ::testing::Types<QtLauncherDriver>;
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, LauncherContract, Drivers);
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, ArgvLauncherContract, Drivers);

}  // namespace
}  // namespace tarvik

#pragma once
// The POSIX launchers (libuv, Qt) also start a program from an argument
// list, startProgram(argv): argv[0] is the program, found on PATH when it
// has no "/", and the arguments reach it exactly, with no shell between.
// The driver is a launcher contract driver (launchercontract.h) that also
// forwards startProgram() to its launcher.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "contracts/posixprograms.h"

namespace tarvik::contracts {

template <typename Driver>
class ArgvLauncherContract : public LauncherContract<Driver> {};

TYPED_TEST_SUITE_P(ArgvLauncherContract);

// A shell between us and the program would have split "a b", expanded
// $HOME and run the ";" part.
TYPED_TEST_P(ArgvLauncherContract, ArgumentsReachTheProgramAsGivenWithoutAShell) {
  const fs::path record = this->dir.path() / "record";
  const std::vector<std::string> args{"a b", "$HOME", "; touch x", "", "*"};
  std::vector<std::string> argv{utf8(this->recorder), utf8(record)};
  argv.insert(argv.end(), args.begin(), args.end());
  const ProcessHandle handle = this->driver.startProgram(argv);
  ASSERT_NE(handle, kNoProcess);
  std::optional<Record> r;
  ASSERT_TRUE(this->runUntil([&] { return (r = readRecord(record)).has_value(); }, kStartDeadlineMs));
  EXPECT_EQ(r->args, args);
  this->endAndWait(handle, r->pid);
}

TYPED_TEST_P(ArgvLauncherContract, ProgramThatCannotStartGivesNoProcess) {
  const fs::path plain = this->dir.path() / "plain";
  testing::writeBytes(plain, "not a program\n");  // there, but not executable
  const std::vector<std::vector<std::string>> cases{
      {"/nonexistent/program", "x"}, {"no-such-program-on-the-path"}, {utf8(plain)}, {}, {""}, {utf8(this->dir.path())}};
  for (const std::vector<std::string>& argv : cases) {
    EXPECT_EQ(this->driver.startProgram(argv), kNoProcess) << (argv.empty() ? "(none)" : argv.front());
  }
}

// A bare program name is looked for on PATH, from an argument list and
// from a command line alike.
TYPED_TEST_P(ArgvLauncherContract, BareNameIsFoundOnThePath) {
  const ProcessHandle fromList = this->driver.startProgram({"sleep", "30"});
  const ProcessHandle fromLine = this->launcher().start("sleep 30");
  for (const ProcessHandle handle : {fromList, fromLine}) {
    EXPECT_NE(handle, kNoProcess);
    const long long pid = this->driver.pid(handle);
    EXPECT_GT(pid, 0);
    EXPECT_TRUE(this->driver.isRunning(handle));
    this->endAndWait(handle, pid);
  }
}

REGISTER_TYPED_TEST_SUITE_P(ArgvLauncherContract, ArgumentsReachTheProgramAsGivenWithoutAShell,
                            ProgramThatCannotStartGivesNoProcess, BareNameIsFoundOnThePath);

}  // namespace tarvik::contracts

#pragma once
// One fixture for the headless program's end-to-end tests, whichever
// program runs them: `tarvik --headless` on Linux or `tarvik.exe
// --headless` under Wine. The program is the parameter; the scenarios both
// share (headless_scenarios.cpp) are built into each program's test.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sim/headlessharness.h"
#include "sim/simharness.h"

namespace tarvik::headless_test {

// The program under test and how it is run.
struct ProgramUnderTest {
  std::filesystem::path binary;
  // How long an event may take: Wine starts a program in a second or two,
  // more on a loaded machine.
  Ms wait = kEventWait;
  // Windows programs under Wine need the display for any window.
  bool keepDisplay = false;
  // SIGTERM and SIGHUP end it as SIGINT does (under Wine only SIGINT, as
  // the console's Ctrl-C, reaches the program).
  bool endsOnEverySignal = true;
  // Why the program cannot be run here; empty when it can.
  std::string unavailable;
};

// Defined by each test program: the program its tests run.
const ProgramUnderTest& programUnderTest();

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

class Headless : public ::testing::Test {
 protected:
  static constexpr int kPollMs = 200;

  void SetUp() override { ASSERT_EQ(programUnderTest().unavailable, ""); }
  void TearDown() override;

  void startSim(std::vector<std::string> extra = {});
  // Tarvik.ini pointing at the simulator, with more INI text after it.
  void writeIni(const std::string& more = "");
  // Starts the program (or `program`) in the test's folder with the
  // settings there, polling every kPollMs, with more arguments after.
  void startTarvik(std::vector<std::string> words = {}, Child* child = nullptr);
  void startProgram(const std::filesystem::path& program, std::vector<std::string> words, Child& child);

  // Index of the first line from `from` on of this kind whose text
  // contains `part`; -1 (and a failure) when none came in time.
  int expectLine(const std::string& kind, const std::string& part, std::size_t from = 0);
  Line lineAt(int i) const;

  std::string control(const std::string& request) { return sim->control(request); }
  std::string simState() { return control("state"); }
  // Waits until the simulator's state line contains `part`.
  bool waitState(const std::string& part);
  // Console sessions the simulator has seen end (its state's "ended=").
  int endedSessions();
  // Waits until that count reaches `count`: so many exchanges are over.
  bool waitEndedSessions(int count);
  // The lines of this kind whose text is exactly `text`.
  std::size_t countLines(const std::string& kind, const std::string& text) const;

  // Ends the program with a signal (SIGINT where it takes no other) and
  // checks it said so and exited cleanly.
  void endWith(int sig, Child& child);
  void endWith(int sig) { endWith(sig, app); }

  Ms wait() const { return programUnderTest().wait; }

  TempDir dir;
  std::unique_ptr<simtest::Sim> sim;
  Child app;
  int consolePort = 0;
};

}  // namespace tarvik::headless_test

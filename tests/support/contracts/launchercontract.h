#pragma once
// What every Launcher promises, checked against each front end's adapter
// with a small recording program: the command line's program is found (a
// path with blanks, quoted or not), its arguments arrive as the platform's
// rules split them, a program that cannot start gives kNoProcess, end()
// asks the program to close first and ends it only after the grace time if
// it stays, and programs outlive the launcher.
//
// The recording program, as the driver installs it, is started as
// `program RECORD ARGS...`. It writes its process id and then each of ARGS,
// one a line, to RECORD (whole, under another name first). Asked to close
// (SIGTERM, WM_CLOSE) it creates RECORD.asked, and then ends, unless one of
// ARGS is "--ignore-close".
//
//   struct Driver {
//     Driver();                          // a launcher whose grace time is kGraceMs
//     Launcher& launcher();
//     void dropLauncher();               // destroys the launcher; the event loop stays
//     bool runUntil(const std::function<bool()>& done, int timeoutMs);
//     bool isRunning(ProcessHandle);
//     long long pid(ProcessHandle);      // 0 once the handle is done with
//     // The recording program installed in folder under name (the
//     // platform's suffix added); returns its path.
//     std::filesystem::path installRecorder(const std::filesystem::path& folder, const std::string& name);
//     bool gone(long long pid);          // ended, and no trace left (reaped)
//     void askToClose(long long pid);    // as the launcher's end() asks
//     void forceEnd(long long pid);      // clean-up after a test
//     // Argument text as typed after the record file, and the words the
//     // program must get, by the platform's rules.
//     static std::vector<ArgumentCase> argumentCases();
//   };

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes/testdir.h"
#include "engine/ports/launcher.h"

namespace tarvik::contracts {

namespace fs = std::filesystem;

constexpr int kGraceMs = 400;
// Deadlines: generous, as the first program with a window in a new Wine
// session starts Wine's desktop too, which takes long on a loaded machine.
constexpr int kStartDeadlineMs = 90000;
constexpr int kEndDeadlineMs = 20000;

struct ArgumentCase {
  std::string typed;
  std::vector<std::string> words;
};

inline std::string utf8(const fs::path& p) {
  const std::u8string text = p.u8string();
  return std::string(text.begin(), text.end());
}
inline fs::path fromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }
inline std::string quoted(const fs::path& p) { return "\"" + utf8(p) + "\""; }

struct Record {
  long long pid = 0;
  std::vector<std::string> args;
};

inline std::optional<Record> readRecord(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  Record r;
  r.pid = std::stoll(line);
  while (std::getline(in, line)) r.args.push_back(line);
  return r;
}

inline fs::path askedFile(const fs::path& record) { return fs::path(record).concat(".asked"); }

template <typename Driver>
class LauncherContract : public ::testing::Test {
 protected:
  LauncherContract() : recorder(driver.installRecorder(dir.path(), "recorder")) {}

  Launcher& launcher() { return driver.launcher(); }
  bool runUntil(const std::function<bool()>& done, int timeoutMs = kEndDeadlineMs) {
    return driver.runUntil(done, timeoutMs);
  }
  // Starts commandLine and waits for the program's record.
  Record startAndRecord(const std::string& commandLine, const fs::path& record, ProcessHandle& handle) {
    handle = launcher().start(commandLine);
    EXPECT_NE(handle, kNoProcess) << commandLine;
    std::optional<Record> r;
    if (handle != kNoProcess) {
      EXPECT_TRUE(runUntil([&] { return (r = readRecord(record)).has_value(); }, kStartDeadlineMs)) << commandLine;
    }
    return r.value_or(Record{});
  }
  // Ends what a test started and waits until it has gone.
  void endAndWait(ProcessHandle handle, long long pid) {
    launcher().end(handle);
    EXPECT_TRUE(runUntil([&] { return !driver.isRunning(handle) && driver.gone(pid); })) << pid;
  }

  Driver driver;
  testing::TestDir dir;
  const fs::path recorder;
};

TYPED_TEST_SUITE_P(LauncherContract);

TYPED_TEST_P(LauncherContract, ArgumentsArriveAsThePlatformSplitsThem) {
  std::vector<ArgumentCase> cases = TypeParam::argumentCases();
  cases.insert(cases.begin(), {"10.0.0.1 \"two words\"", {"10.0.0.1", "two words"}});
  const fs::path record = this->dir.path() / fromUtf8("記録.txt");
  for (const ArgumentCase& c : cases) {
    fs::remove(record);
    ProcessHandle handle = kNoProcess;
    const Record r = this->startAndRecord(quoted(this->recorder) + " " + quoted(record) + " " + c.typed, record, handle);
    EXPECT_EQ(r.args, c.words) << c.typed;
    EXPECT_EQ(r.pid, this->driver.pid(handle)) << c.typed;
    EXPECT_TRUE(this->driver.isRunning(handle)) << c.typed;
    this->endAndWait(handle, r.pid);
  }
}

// A program path with blanks in its folder and its own name, Japanese ones
// too, typed with quotes and without.
TYPED_TEST_P(LauncherContract, ProgramPathWithBlanksIsFound) {
  const fs::path record = this->dir.path() / "record";
  const struct {
    const char* folder;
    const char* program;
  } places[] = {{"with blanks", "run args"}, {"ツール フォルダ", "起動 テスト"}};
  for (const auto& place : places) {
    const fs::path folder = this->dir.path() / fromUtf8(place.folder);
    fs::create_directories(folder);
    const fs::path program = this->driver.installRecorder(folder, place.program);
    for (const std::string& line : {utf8(program) + " " + quoted(record) + " 10.0.0.1 \"two words\"",
                                    quoted(program) + " " + quoted(record) + " 10.0.0.1 \"two words\""}) {
      fs::remove(record);
      ProcessHandle handle = kNoProcess;
      const Record r = this->startAndRecord(line, record, handle);
      EXPECT_EQ(r.args, (std::vector<std::string>{"10.0.0.1", "two words"})) << line;
      this->endAndWait(handle, r.pid);
    }
  }
}

TYPED_TEST_P(LauncherContract, ProgramThatCannotStartGivesNoProcess) {
  const fs::path plain = this->dir.path() / "not a program.txt";
  testing::writeBytes(plain, "not a program\n");
  const fs::path missingFolder = this->dir.path() / "missing";
  for (const std::string& line : {quoted(this->dir.path() / "missing program") + " x",
                                  utf8(missingFolder / "program") + " x", quoted(plain) + " x",
                                  quoted(this->dir.path()), std::string(), std::string("  ")}) {
    EXPECT_EQ(this->launcher().start(line), kNoProcess) << "'" << line << "'";
  }
  this->launcher().end(kNoProcess);  // nothing to end
}

// end() asks first; a program that closes when asked is gone, and its
// handle with it. Ending it again, or a handle that never was, does nothing.
TYPED_TEST_P(LauncherContract, EndAsksTheProgramToCloseFirst) {
  const fs::path record = this->dir.path() / "record";
  ProcessHandle handle = kNoProcess;
  const Record r = this->startAndRecord(quoted(this->recorder) + " " + quoted(record), record, handle);
  ASSERT_GT(r.pid, 0);
  this->launcher().end(handle);
  ASSERT_TRUE(this->runUntil([&] { return !this->driver.isRunning(handle); }));
  EXPECT_TRUE(fs::exists(askedFile(record))) << "ended without being asked";
  EXPECT_TRUE(this->runUntil([&] { return this->driver.gone(r.pid); })) << "not reaped";
  EXPECT_TRUE(this->runUntil([&] { return this->driver.pid(handle) == 0; }));
  this->launcher().end(handle);
  this->launcher().end(12345);
  this->launcher().end(kNoProcess);
  EXPECT_FALSE(this->driver.isRunning(handle));
}

// A program that stays when asked is ended, but not before the grace time
// (less what a coarse timer may fire early; a loaded machine only makes it
// later).
TYPED_TEST_P(LauncherContract, ProgramThatStaysIsEndedAfterTheGraceTime) {
  const fs::path record = this->dir.path() / "record";
  ProcessHandle handle = kNoProcess;
  const Record r =
      this->startAndRecord(quoted(this->recorder) + " " + quoted(record) + " --ignore-close", record, handle);
  ASSERT_GT(r.pid, 0);
  const auto asked = std::chrono::steady_clock::now();
  this->launcher().end(handle);
  EXPECT_TRUE(this->driver.isRunning(handle));
  ASSERT_TRUE(this->runUntil([&] { return !this->driver.isRunning(handle); }));
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - asked);
  EXPECT_GE(took.count(), kGraceMs - 50);
  EXPECT_TRUE(fs::exists(askedFile(record))) << "ended without being asked first";
  EXPECT_TRUE(this->runUntil([&] { return this->driver.gone(r.pid); })) << "not reaped";
  this->launcher().end(handle);  // again: touches nothing
}

// When the launcher goes, its programs keep running: one still answers
// when asked to close afterwards.
TYPED_TEST_P(LauncherContract, RunningProgramsOutliveTheLauncher) {
  const fs::path record = this->dir.path() / "record";
  ProcessHandle handle = kNoProcess;
  const Record r = this->startAndRecord(quoted(this->recorder) + " " + quoted(record), record, handle);
  ASSERT_GT(r.pid, 0);
  this->driver.dropLauncher();
  this->driver.askToClose(r.pid);
  EXPECT_TRUE(this->runUntil([&] { return fs::exists(askedFile(record)); })) << "the program died with the launcher";
  this->driver.forceEnd(r.pid);
}

REGISTER_TYPED_TEST_SUITE_P(LauncherContract, ArgumentsArriveAsThePlatformSplitsThem, ProgramPathWithBlanksIsFound,
                            ProgramThatCannotStartGivesNoProcess, EndAsksTheProgramToCloseFirst,
                            ProgramThatStaysIsEndedAfterTheGraceTime, RunningProgramsOutliveTheLauncher);

}  // namespace tarvik::contracts

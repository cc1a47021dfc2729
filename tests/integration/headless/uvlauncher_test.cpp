// UvLauncher: argv without a shell, end() as SIGTERM then SIGKILL, ended
// children reaped, running children left alone when the launcher goes.
#include "headless/uvlauncher.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fakes/testdir.h"

namespace tarvik::app {
namespace {
namespace fs = std::filesystem;

// 'Z' for a zombie, 0 when no such process exists.
char processState(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  std::size_t close = line.rfind(')');
  return close + 2 < line.size() ? line[close + 2] : 0;
}

using TempDir = testing::TestDir;

std::string readFile(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(UvLauncherTest, ArgumentsReachTheProgramAsGivenWithoutAShell) {
  TempDir dir;
  const std::string out = (dir / "args").string();
  EventLoop loop;
  UvLauncher launcher(loop);
  // The child prints its arguments one per line; a shell between us and it
  // would have expanded $HOME, split "a b" and run the ";" part.
  ProcessHandle p =
      launcher.startProgram({"/bin/sh", "-c", "printf '%s\\n' \"$@\" > \"$0\"", out, "a b", "$HOME", "; touch x"});
  ASSERT_NE(p, kNoProcess);
  ASSERT_TRUE(loop.runUntil([&] { return !launcher.isRunning(p); }, 5000));
  EXPECT_EQ(readFile(out), "a b\n$HOME\n; touch x\n");
}

// The program of a command line may hold blanks, typed with quotes or
// without, and its arguments reach it as the line's words.
TEST(UvLauncherTest, CommandLineWithBlanksInTheProgramPath) {
  TempDir dir;
  fs::create_directories(dir / "My Apps");
  const std::string program = (dir / "My Apps" / "run args").string();
  std::ofstream(program) << "#!/bin/sh\nout=\"$1\"; shift\nprintf '%s\\n' \"$@\" > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n";
  fs::permissions(program, fs::perms::owner_all);
  const std::string out = (dir / "out").string();
  for (const std::string& line : {program + " " + out + " 10.0.0.1 \"two words\"",
                                  "\"" + program + "\" " + out + " 10.0.0.1 'two words'"}) {
    fs::remove(out);
    EventLoop loop;
    UvLauncher launcher(loop);
    ProcessHandle p = launcher.start(line);
    ASSERT_NE(p, kNoProcess) << line;
    ASSERT_TRUE(loop.runUntil([&] { return fs::exists(out); }, 5000)) << line;
    EXPECT_EQ(readFile(out), "10.0.0.1\ntwo words\n") << line;
  }
}

TEST(UvLauncherTest, ProgramThatCannotStartGivesNoProcess) {
  EventLoop loop;
  UvLauncher launcher(loop);
  TempDir dir;
  std::ofstream(dir / "plain") << "not a program\n";  // exists, not executable
  EXPECT_EQ(launcher.start("/nonexistent/program x"), kNoProcess);
  EXPECT_EQ(launcher.start("\"" + (dir / "plain").string() + "\" x"), kNoProcess);
  EXPECT_EQ(launcher.start(dir.path().string()), kNoProcess);  // a folder
  EXPECT_EQ(launcher.start(""), kNoProcess);
  EXPECT_EQ(launcher.startProgram({"/nonexistent/program", "x"}), kNoProcess);
  EXPECT_EQ(launcher.startProgram({"no-such-program-on-the-path"}), kNoProcess);
  EXPECT_EQ(launcher.startProgram({(dir / "plain").string()}), kNoProcess);
  EXPECT_EQ(launcher.startProgram({}), kNoProcess);
  EXPECT_EQ(launcher.startProgram({""}), kNoProcess);
}

TEST(UvLauncherTest, EndAsksTheChildToCloseAndReapsIt) {
  EventLoop loop;
  UvLauncher launcher(loop);
  ProcessHandle p = launcher.startProgram({"sleep", "30"});
  ASSERT_NE(p, kNoProcess);
  const int pid = launcher.pid(p);
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(launcher.isRunning(p));
  launcher.end(p);
  ASSERT_TRUE(loop.runUntil([&] { return !launcher.isRunning(p); }, 5000));
  EXPECT_EQ(processState(pid), 0) << "reaped: no zombie left behind";
  EXPECT_EQ(launcher.pid(p), 0);
  // Ending it again, or a handle that never was, does nothing.
  launcher.end(p);
  launcher.end(12345);
  launcher.end(kNoProcess);
}

TEST(UvLauncherTest, ChildThatIgnoresTermIsKilledAfterTheGraceTime) {
  EventLoop loop;
  UvLauncher launcher(loop, /*killAfterMs=*/300);
  TempDir dir;
  const fs::path ready = dir / "ready";
  ProcessHandle p = launcher.startProgram(
      {"/bin/sh", "-c", "trap '' TERM; : > \"$0\"; while :; do sleep 1; done", ready.string()});
  ASSERT_NE(p, kNoProcess);
  // Wait until the trap is set, or SIGTERM would end it at once.
  ASSERT_TRUE(loop.runUntil([&] { return fs::exists(ready); }, 5000));
  const int pid = launcher.pid(p);
  launcher.end(p);
  // The TERM is delivered (and ignored) before the KILL comes.
  ASSERT_TRUE(loop.runUntil([&] { return !launcher.isRunning(p); }, 5000));
  EXPECT_EQ(processState(pid), 0);
}

TEST(UvLauncherTest, RunningProgramsOutliveTheLauncher) {
  int pid = 0;
  {
    EventLoop loop;
    UvLauncher launcher(loop);
    ProcessHandle p = launcher.startProgram({"sleep", "30"});
    ASSERT_NE(p, kNoProcess);
    pid = launcher.pid(p);
  }
  ASSERT_EQ(::kill(pid, 0), 0) << "the program died with the launcher";
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);  // it is still our child: reap it here
}

}  // namespace
}  // namespace tarvik::app

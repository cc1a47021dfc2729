// QtLauncher: argv without a shell, end() as SIGTERM then SIGKILL, ended
// children reaped, running children left alone when the launcher goes.

#include "qt/adapters/qtlauncher.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <string>

namespace tarvik {
namespace {

// 'Z' for a zombie, 0 when no such process exists.
char processState(qint64 pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  std::size_t close = line.rfind(')');
  return close + 2 < line.size() ? line[close + 2] : 0;
}

TEST(QtLauncherTest, ArgumentsReachTheProgramAsGivenWithoutAShell) {
  QTemporaryDir dir;
  const std::string out = dir.filePath("args").toStdString();
  QtLauncher launcher;
  // The child prints its arguments one per line; a shell between us and it
  // would have expanded $HOME, split "a b" and run the ";" part.
  ProcessHandle p = launcher.startProgram(
      {"/bin/sh", "-c", "printf '%s\\n' \"$@\" > \"$0\"", out, "a b", "$HOME", "; touch x"});
  ASSERT_NE(p, kNoProcess);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !launcher.isRunning(p); }, 5000));
  QFile file(QString::fromStdString(out));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("a b\n$HOME\n; touch x\n"));
}

// The program of a command line may hold blanks, typed with quotes or
// without, and its arguments reach it as the line's words.
TEST(QtLauncherTest, CommandLineWithBlanksInTheProgramPath) {
  QTemporaryDir dir;
  const QString folder = dir.filePath("My Apps");
  ASSERT_TRUE(QDir().mkpath(folder));
  const std::string program = (folder + "/run args").toStdString();
  {
    QFile script(QString::fromStdString(program));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "#!/bin/sh\nout=\"$1\"; shift\nprintf '%s\\n' \"$@\" > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n");
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  const std::string out = dir.filePath("out").toStdString();
  for (const std::string& line : {program + " " + out + " 10.0.0.1 \"two words\"",
                                  "\"" + program + "\" " + out + " 10.0.0.1 'two words'"}) {
    QFile::remove(QString::fromStdString(out));
    QtLauncher launcher;
    ProcessHandle p = launcher.start(line);
    ASSERT_NE(p, kNoProcess) << line;
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(QString::fromStdString(out)); }, 5000)) << line;
    QFile file(QString::fromStdString(out));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("10.0.0.1\ntwo words\n")) << line;
  }
}

TEST(QtLauncherTest, ProgramThatCannotStartGivesNoProcess) {
  QTemporaryDir dir;
  const QString plain = dir.filePath("not executable");
  {
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  }
  QtLauncher launcher;
  EXPECT_EQ(launcher.start("/nonexistent/program x"), kNoProcess);
  EXPECT_EQ(launcher.start("\"" + plain.toStdString() + "\" x"), kNoProcess);
  EXPECT_EQ(launcher.start(dir.path().toStdString()), kNoProcess);  // a folder
  EXPECT_EQ(launcher.start(""), kNoProcess);
  EXPECT_EQ(launcher.startProgram({}), kNoProcess);
  EXPECT_EQ(launcher.startProgram({""}), kNoProcess);
}

TEST(QtLauncherTest, EndAsksTheChildToCloseAndReapsIt) {
  QtLauncher launcher;
  ProcessHandle p = launcher.start("sleep 30");
  ASSERT_NE(p, kNoProcess);
  const qint64 pid = launcher.pid(p);
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(launcher.isRunning(p));
  launcher.end(p);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !launcher.isRunning(p); }, 5000));
  // Reaped: no zombie left behind.
  EXPECT_TRUE(QTest::qWaitFor([&] { return processState(pid) == 0; }, 5000)) << processState(pid);
  // Ending it again, or a handle that never was, does nothing.
  launcher.end(p);
  launcher.end(12345);
  launcher.end(kNoProcess);
}

TEST(QtLauncherTest, ChildThatIgnoresTermIsKilledAfterTheGraceTime) {
  QtLauncher launcher(/*killAfterMs=*/200);
  QTemporaryDir dir;
  const QString ready = dir.filePath("ready");
  ProcessHandle p = launcher.startProgram(
      {"/bin/sh", "-c", "trap '' TERM; : > \"$0\"; while :; do sleep 1; done", ready.toStdString()});
  ASSERT_NE(p, kNoProcess);
  // Wait until the trap is set, or SIGTERM would end it at once.
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(ready); }, 5000));
  const qint64 pid = launcher.pid(p);
  QElapsedTimer sinceEnd;
  sinceEnd.start();
  launcher.end(p);
  EXPECT_TRUE(launcher.isRunning(p));  // the TERM is ignored
  ASSERT_TRUE(QTest::qWaitFor([&] { return !launcher.isRunning(p); }, 5000));
  // Killed, but not before the grace time (less what a coarse timer may
  // fire early); a loaded machine only makes it later.
  EXPECT_GE(sinceEnd.elapsed(), 180);
  EXPECT_TRUE(QTest::qWaitFor([&] { return processState(pid) == 0; }, 5000));
}

TEST(QtLauncherTest, RunningProgramsOutliveTheLauncher) {
  qint64 pid = 0;
  {
    QtLauncher launcher;
    ProcessHandle p = launcher.start("sleep 30");
    ASSERT_NE(p, kNoProcess);
    pid = launcher.pid(p);
  }
  QTest::qWait(50);
  ASSERT_EQ(::kill(static_cast<pid_t>(pid), 0), 0) << "the program died with the launcher";
  ::kill(static_cast<pid_t>(pid), SIGKILL);
  ::waitpid(static_cast<pid_t>(pid), nullptr, 0);  // it is still our child: reap it here
}

}  // namespace
}  // namespace tarvik

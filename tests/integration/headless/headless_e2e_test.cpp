// `tarvik --headless` against the router simulator on loopback: the whole
// program, watched through its event lines. The scenarios every platform's
// program passes are in headless_scenarios.cpp; here those of this one.
#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "engine/base/sjis.h"
#include "sim/headlesse2e.h"

namespace tarvik::headless_test {

const ProgramUnderTest& programUnderTest() {
  static const ProgramUnderTest program{.binary = TARVIK_BINARY};
  return program;
}

namespace {

namespace fs = std::filesystem;

constexpr const char* kLogBreak = "*** ログ分断 ***";

// The log file's lines, converted to UTF-8.
std::vector<std::string> logLines(const fs::path& path) {
  std::vector<std::string> lines;
  std::string text = readFile(path);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(toUtf8(text.substr(start, end - start)));
    start = end + 2;
  }
  return lines;
}

TEST_F(Headless, DialConnectsLaunchesWithTheAddressAndEndsTheProgramAtDisconnection) {
  startSim();
  // Writes its arguments and its process id, then stays, as a program
  // that the disconnection must end.
  fs::path script = dir / "record.sh";
  writeFile(script,
            "#!/bin/sh\nout=\"$1\"; shift\n"
            "{ echo $$; printf '%s\\n' \"$@\"; } > \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n"
            "exec sleep 30\n");
  fs::permissions(script, fs::perms::owner_all);
  fs::path record = dir / "argv.txt";
  writeIni("[AP0]\r\n1=" + script.string() + " " + record.string() + " --ip=$IP \"two words\"\r\n");
  startTarvik({"co"});

  expectLine("status", "ダイアル開始");
  expectLine("sound", "wav/接続.wav");
  int launch = expectLine("launch", script.string());
  ASSERT_GE(launch, 0);
  Line l = lineAt(launch);
  ASSERT_EQ(l.fields.size(), 4u) << l.text();
  const std::string ipArg = l.fields[2];
  ASSERT_EQ(ipArg.rfind("--ip=203.0.113.", 0), 0u) << ipArg;
  EXPECT_EQ(l.fields[3], "two words");
  ASSERT_TRUE(waitState("b1=connected:0:" + ipArg.substr(5)));

  // The program really ran, with the address in place of $IP.
  ASSERT_TRUE(waitUntil([&] { return fs::exists(record); })) << "the launched program wrote nothing";
  std::istringstream recorded(readFile(record));
  std::string pid, arg1, arg2;
  std::getline(recorded, pid);
  std::getline(recorded, arg1);
  std::getline(recorded, arg2);
  EXPECT_EQ(arg1, ipArg);
  EXPECT_EQ(arg2, "two words");
  ASSERT_FALSE(pid.empty());
  EXPECT_EQ(::kill(std::stoi(pid), 0), 0) << "the launched program should still run";

  // The network drops the call: disconnection sound, and slot 1 is ended.
  std::size_t before = app.lines().size();
  ASSERT_EQ(control("hangup").rfind("OK", 0), 0u);
  expectLine("sound", "wav/切断.wav", before);
  int end = expectLine("end", script.string(), before);
  ASSERT_GE(end, 0);
  EXPECT_EQ(lineAt(end).fields, l.fields);
  EXPECT_TRUE(waitUntil([&] { return ::kill(std::stoi(pid), 0) != 0; })) << "the launched program was not ended";
  endWith(SIGTERM);
}

TEST_F(Headless, ConnectionLogIsMergedAcrossFetchesAndMarksARollOff) {
  startSim({"--history-size", "8"});
  writeIni("[OPTION]\r\nCHECK17=1\r\nLOG=conn.log\r\n");
  const fs::path log = dir / "conn.log";

  // Run 1: the start-up fetch writes the router's history ...
  startTarvik({"co"});
  int written = expectLine("status", "ログ書き出し完了");
  ASSERT_GE(written, 0);
  std::vector<std::string> first = logLines(log);
  ASSERT_GE(first.size(), 5u);
  EXPECT_NE(first.back().find("接続"), std::string::npos) << first.back();

  // ... and the later fetches append only what is new. The connection's own
  // fetch may come before the disconnection's or not: either way the file
  // ends with the disconnection once the program has seen it.
  ASSERT_EQ(control("history entry-A").rfind("OK", 0), 0u);
  ASSERT_EQ(control("history entry-B").rfind("OK", 0), 0u);
  ASSERT_TRUE(waitState("b1=connected"));
  ASSERT_EQ(control("hangup").rfind("OK", 0), 0u);
  const auto endsWith = [&](const char* text) {
    const std::vector<std::string> lines = logLines(log);
    return !lines.empty() && lines.back().find(text) != std::string::npos;
  };
  ASSERT_TRUE(waitUntil([&] { return endsWith("切断"); }, wait())) << "no disconnection in the log";
  std::vector<std::string> second = logLines(log);
  ASSERT_EQ(second.size(), first.size() + 3) << "entry-A, entry-B and the disconnection";
  EXPECT_TRUE(std::equal(first.begin(), first.end(), second.begin()));
  EXPECT_NE(second[first.size()].find("entry-A"), std::string::npos);
  EXPECT_NE(second[first.size() + 1].find("entry-B"), std::string::npos);
  EXPECT_NE(second.back().find("切断"), std::string::npos);
  endWith(SIGTERM);

  // The router's history moves past the file's last entry.
  for (int i = 1; i <= 9; ++i) control("history roll-" + std::to_string(i));

  // Run 2: the first fetch cannot find where the file left off and marks
  // the break; the next appends the router's whole history after the mark.
  // The fetch timer may fold the fetches of the start and of the connection
  // into one, or not: so there is one fetch after the mark (at the
  // disconnection), or two (the connection's, ending with the connection,
  // then the disconnection's).
  app.reset();
  startTarvik({"co"});
  ASSERT_GE(expectLine("status", "ログ書き出し完了"), 0);
  ASSERT_TRUE(waitState("b1=connected"));
  ASSERT_EQ(control("hangup").rfind("OK", 0), 0u);
  ASSERT_TRUE(waitUntil([&] { return endsWith("切断"); }, wait())) << "no disconnection in the log";
  std::vector<std::string> third = logLines(log);
  ASSERT_GT(third.size(), second.size() + 1);
  EXPECT_TRUE(std::equal(second.begin(), second.end(), third.begin()));
  EXPECT_EQ(third[second.size()], kLogBreak);
  const std::size_t appended = third.size() - second.size() - 1;
  if (appended == 9) {
    EXPECT_NE(third[second.size() + 8].find("接続"), std::string::npos) << "the connection's fetch ends with it";
  } else {
    EXPECT_EQ(appended, 8u) << "the eight entries the router keeps";
  }
  endWith(SIGTERM);
}

// A router name that does not resolve: said at once. The name is answered
// by a hosts file of the test's own, in a mount namespace where only files
// are asked, so no query leaves the machine.
TEST_F(Headless, RouterNameThatIsNotFoundIsSaid) {
  if (std::system("unshare --user --map-root-user --mount true") != 0) {
    GTEST_SKIP() << "no user and mount namespaces here";
  }
  writeFile(dir / "hosts", "127.0.0.1 localhost\n");
  writeFile(dir / "nsswitch.conf", "hosts: files\n");
  writeFile(dir / "Tarvik.ini", toSjis("[Tarvik]\r\nSOHOIP=mn128-router\r\nPORT=23\r\n"));
  const std::string bindAndRun =
      "mount --bind \"$1\" /etc/hosts && mount --bind \"$2\" /etc/nsswitch.conf && shift 2 && exec \"$@\"";
  app.start("/usr/bin/unshare",
            {"--user", "--map-root-user", "--mount", "sh", "-c", bindAndRun, "sh", (dir / "hosts").string(),
             (dir / "nsswitch.conf").string(), TARVIK_BINARY, "--headless", "--config-dir",
             dir.path().string(), "--poll-ms", std::to_string(kPollMs)},
            dir.path(), dir / "tarvik.err");
  expectLine("error", "ルーターのアドレス mn128-router が見つかりません。設定を確認してください");
  expectLine("notify", "link-failed");
  endWith(SIGTERM);
}

TEST_F(Headless, DialNeedingTheIdDialogIsRefused) {
  startSim();
  writeIni("[OPTION]\r\nCHECK16=1\r\n");  // ID and password asked at every dial
  startTarvik({"co"});
  expectLine("status", "ID/パスワード入力はヘッドレスでは使えません");
  app.drain(1s);  // proves silence: no dial goes out while the program runs on
  EXPECT_NE(simState().find("b1=idle"), std::string::npos);
  endWith(SIGTERM);
}

// A hand-edited value the program cannot take is told on an error line
// at start, and the program runs on with the default.
TEST_F(Headless, MistypedSettingsAreToldOnAnErrorLine) {
  startSim();
  writeIni("[OPTION]\r\nCHECK4=yes\r\n");
  startTarvik({});
  expectLine("error",
             "Tarvik.ini の読めない設定: [OPTION] CHECK4=yes (0 を使用)。Tarvik.ini を直してください");
  expectLine("b1", "空き");
  endWith(SIGTERM);
}

TEST(HeadlessCommandLine, AnswersWithoutRunning) {
  TempDir dir;
  writeFile(dir / "Tarvik.ini", "[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=2999\r\n[OPTION]\r\nTIME=0x0A\r\n");
  writeFile(dir / "empty.ini", "");
  fs::create_directory(dir / "empty");
  fs::create_directories(dir / "unreadable/Tarvik.ini");  // a folder where the file belongs
  // A FIFO where a settings file belongs: refused at once, never waited on.
  for (const char* name : {"Tarvik.ini", "Tarvik.lst", "Tarvik.spt"}) {
    fs::create_directories(dir / "fifo" / name);
    ASSERT_EQ(::mkfifo((dir / "fifo" / name / name).c_str(), 0600), 0);
  }
  fs::create_directory(dir / "broken");
  writeFile(dir / "broken/Tarvik.ini", "[Tarvik\r\nSOHOIP=127.0.0.1\r\n");
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string inOut;  // expected in standard output
    std::string inErr;  // expected in standard error
  };
  const std::string d = dir.path().string();
  const Case cases[] = {
      {{"--help"}, 0, "--config-dir", ""},
      {{"--version"}, 0, "tarvik ", ""},
      {{"--print-settings", "--config-dir", d}, 0, "SOHOIP=127.0.0.1", ""},
      {{"--print-settings", "--config-dir", (dir / "unreadable").string()},
       2,
       "",
       "tarvik: cannot read the settings in " + (dir / "unreadable").string() + ": " +
           (dir / "unreadable/Tarvik.ini").string()},
      // The values in force, and what the file holds instead beside them.
      {{"--print-settings", "--config-dir", d},
       0,
       "\nTIME=5\n",
       "tarvik: Tarvik.ini の読めない設定: [OPTION] TIME=0x0A (5 を使用)"},
      {{"--headless", "--config-dir", (dir / "empty").string()}, 2, "", "SOHOIP"},
      {{"--headless", "--config-dir", (dir / "broken").string()}, 2, "", "1 行目「[Tarvik」(無視)"},
      {{"--print-settings", "--config-dir", (dir / "fifo/Tarvik.ini").string()},
       2,
       "",
       (dir / "fifo/Tarvik.ini/Tarvik.ini").string() + ": not a regular file"},
      {{"--usage", "--config-dir", (dir / "fifo/Tarvik.lst").string()},
       2,
       "",
       (dir / "fifo/Tarvik.lst/Tarvik.lst").string() + ": not a regular file"},
      {{"--headless", "--config-dir", (dir / "fifo/Tarvik.spt").string()},
       2,
       "",
       (dir / "fifo/Tarvik.spt/Tarvik.spt").string() + ": not a regular file"},
      {{"--headless", "--poll-ms", "nope"}, 2, "", "--poll-ms"},
      {{"--connect"}, 2, "", "unknown option --connect"},
  };
  for (const Case& c : cases) {
    Child child;
    child.start(tarvikBinary(), c.args, dir.path(), dir / "err.txt");
    std::optional<int> code = child.wait(kEventWait);
    ASSERT_TRUE(code.has_value()) << c.args[0];
    EXPECT_EQ(*code, c.code) << c.args[0];
    std::string out;
    for (const std::string& l : child.lines()) out += l + "\n";
    EXPECT_NE(out.find(c.inOut), std::string::npos) << c.args[0] << ": " << out;
    std::string err = readFile(dir / "err.txt");
    EXPECT_NE(err.find(c.inErr), std::string::npos) << c.args[0] << ": " << err;
    fs::remove(dir / "err.txt");
  }
}

#ifdef TARVIK_DESKTOP_BINARY
// A start with windows is handed to the desktop program: same process, same
// arguments, the config directory resolved by `tarvik`.
TEST(HeadlessCommandLine, WithWindowsHandsOverToTheDesktopProgram) {
  TempDir dir;
  writeFile(dir / "Tarvik.ini", "[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=" + std::to_string(freePort()) + "\r\n");
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  Child child;
  child.start(tarvikBinary(), {"--config-dir", dir.path().string()}, dir.path(), dir / "err.txt");
  const fs::path desktop = fs::path(TARVIK_DESKTOP_BINARY).filename();
  std::error_code ec;
  bool handedOver = false;
  waitUntil([&] {
    handedOver = fs::read_symlink("/proc/" + std::to_string(child.pid()) + "/exe", ec).filename() == desktop;
    return handedOver || !child.running();
  });
  EXPECT_TRUE(handedOver) << readFile(dir / "err.txt");
  std::string cmdline = readFile("/proc/" + std::to_string(child.pid()) + "/cmdline");
  std::replace(cmdline.begin(), cmdline.end(), '\0', ' ');
  EXPECT_NE(cmdline.find("--config-dir " + dir.path().string()), std::string::npos) << cmdline;
  // Once: the folder given is the one resolved.
  EXPECT_EQ(cmdline.find("--config-dir"), cmdline.rfind("--config-dir")) << cmdline;
  child.stop();
}
#endif

}  // namespace
}  // namespace tarvik::headless_test

// The scenarios the headless program passes on every platform, against
// the router simulator on loopback: built into the end-to-end test of each
// program (the Linux `tarvik`, `tarvik.exe` under Wine), which names the
// program in programUnderTest().
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <map>

#include "contracts/loopbackconsole.h"
#include "engine/base/sjis.h"
#include "sim/headlesse2e.h"

namespace tarvik::headless_test {
namespace {

namespace fs = std::filesystem;

TEST_F(Headless, StartShowsDestinationListAndBannerAndRunsOnce) {
  startSim();
  writeIni();
  startTarvik();
  expectLine("status", "待機中");
  int version = expectLine("version", "MN128-SOHO.F Ver 2.40");
  ASSERT_GE(version, 0);
  int last = expectLine("menu", "#15 ﾓﾊﾞｲﾙ");
  ASSERT_GE(last, 0);
  std::map<int, std::string> menu;
  for (const std::string& raw : app.lines()) {
    Line l = parseLine(raw);
    if (l.kind == "menu" && l.fields.size() == 2) menu[std::stoi(l.fields[0])] = l.fields[1];
  }
  ASSERT_EQ(menu.size(), 16u);
  EXPECT_EQ(menu[0], "#0  Tarvik ISP");
  EXPECT_EQ(menu[1], "#1  会社");
  EXPECT_EQ(menu[3], "#3");
  expectLine("b1", "空き");

  // A second start while one runs ends at once with nothing on its own
  // output (a lock file on Linux, the named mutex on Windows) and hands its
  // action words to the running program, which acts on them.
  Child second;
  startTarvik({"co"}, &second);
  std::optional<int> code = second.wait(wait());
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0);
  EXPECT_TRUE(second.lines().empty());
  EXPECT_TRUE(waitState("b1=connected:0:"))
      << "the running program dials for the second start: " << simState();

  // So does one with other settings: one Tarvik per user session, and the
  // running program's settings hold.
  TempDir otherConfig;
  fs::copy_file(dir / "Tarvik.ini", otherConfig / "Tarvik.ini");
  Child third;
  third.keepDisplay(programUnderTest().keepDisplay);
  third.start(programUnderTest().binary, {"--headless", "--config-dir", otherConfig.path().string(), "b1"},
              dir.path(), dir / "third.err");
  code = third.wait(wait());
  ASSERT_TRUE(code.has_value()) << "a second instance with another --config-dir runs";
  EXPECT_EQ(*code, 0);
  EXPECT_TRUE(third.lines().empty());
  EXPECT_TRUE(waitState("b1=idle")) << "the running program drops B1 for the third start: " << simState();

  endWith(SIGINT);
}

TEST_F(Headless, IncomingCallShowsTheListedName) {
  startSim();
  writeIni();
  writeFile(dir / "Tarvik.lst", toSjis("0312341234:Office\r\n0452223333:山田商店\r\n"));
  startTarvik();
  expectLine("b1", "空き");
  std::size_t before = app.lines().size();
  ASSERT_EQ(control("ring 0452223333").rfind("OK", 0), 0u);
  int caller = expectLine("caller", "山田商店", before);
  ASSERT_GE(caller, 0);
  EXPECT_EQ(lineAt(caller).fields, (std::vector<std::string>{"山田商店", "0452223333"}));
  expectLine("sound", "wav/着信.wav", before);  // no name sound file: the general one

  ASSERT_EQ(control("stop-ring").rfind("OK", 0), 0u);
  expectLine("caller-off", "", static_cast<std::size_t>(caller));
  endWith(SIGHUP);  // a closed terminal ends it as cleanly
}

TEST_F(Headless, BusyDestinationIsRedialledToTheAlternate) {
  startSim({"--busy", "0"});
  writeIni("DEFAULT=0\r\nREDIAL=2\r\n[RD]\r\n0=2\r\n");
  startTarvik({"co"});
  int first = expectLine("status", "ダイアル開始 (2/2)");
  int redial = expectLine("details", "リダイアル", static_cast<std::size_t>(std::max(first, 0)));
  expectLine("sound", "wav/話中.wav", static_cast<std::size_t>(std::max(first, 0)));
  expectLine("status", "ダイアル開始 (1/2)", static_cast<std::size_t>(std::max(redial, 0)));
  // The second dial went to the alternate destination, which answers.
  EXPECT_TRUE(waitState("b1=connected:2:"));
  endWith(SIGTERM);
}

TEST_F(Headless, TimedDisconnectDropsTheLineAtTheSetMinute) {
  startSim();
  writeIni();
  // A first run dials and is ended by a signal: the line stays up, and the
  // settings file is left exactly as it was.
  const std::string iniBefore = readFile(dir / "Tarvik.ini");
  startTarvik({"co"});
  ASSERT_TRUE(waitState("b1=connected:0:"));
  endWith(SIGTERM);
  EXPECT_EQ(readFile(dir / "Tarvik.ini"), iniBefore);
  EXPECT_NE(simState().find("b1=connected:0:"), std::string::npos);

  // A second run with the disconnect time set to 10:30, its clock started
  // a second before: the line is dropped when the minute comes.
  writeIni("[TIME]\r\nON=\r\nOFF=10:30\r\nWARNING=\r\n");
  app.reset();
  startTarvik({"--clock-start", "2026-12-11 10:29:59"});
  expectLine("jigen", "時限切断 [10:30]");
  expectLine("sound", "wav/切断.wav");
  EXPECT_TRUE(waitState("b1=idle"));
  endWith(SIGTERM);
}

TEST_F(Headless, UnreachableRouterIsShownAfterThreePollsAndCleared) {
  startSim();
  writeIni();
  startTarvik();
  int idle = expectLine("b1", "空き");
  ASSERT_GE(idle, 0);
  ASSERT_EQ(control("fault refuse").rfind("OK", 0), 0u);
  int shown = expectLine("status", "ルーター応答なし", static_cast<std::size_t>(idle));
  ASSERT_GE(shown, 0);
  expectLine("tip", "ルーター応答なし", static_cast<std::size_t>(idle));

  ASSERT_EQ(control("nofault refuse").rfind("OK", 0), 0u);
  int cleared = app.waitLine(
      [](const std::string& raw) {
        Line l = parseLine(raw);
        return l.kind == "tip" && l.text().rfind("B1 ", 0) == 0;
      },
      wait(), static_cast<std::size_t>(shown));
  EXPECT_GE(cleared, 0) << "the tip never showed the channels again";
  // The status line no longer says so once the router answers.
  std::string lastStatus;
  for (const std::string& raw : app.lines()) {
    Line l = parseLine(raw);
    if (l.kind == "status") lastStatus = l.text();
  }
  EXPECT_NE(lastStatus, "ルーター応答なし");
  endWith(SIGTERM);
}

// A wrong password: the router refuses the login. Told once as an error,
// the channels shown as unknown, not 空き, and once more when the password
// is right again (here the router's is changed to the one Tarvik sends).
TEST_F(Headless, RefusedLoginIsToldOnceAndItsEndOnceMore) {
  const std::string refused = "ルーターにログインできません。パスワードを確認してください";
  startSim({"--password", "secret"});
  writeIni("PASS=wrongpw\r\n");
  startTarvik();
  const int told = expectLine("error", refused);
  ASSERT_GE(told, 0);
  expectLine("b1", "状態不明");
  expectLine("b2", "状態不明");
  expectLine("tip", refused);
  expectLine("notify", "link-failed");
  // Three more refused polls say nothing more.
  ASSERT_TRUE(waitEndedSessions(endedSessions() + 3));
  EXPECT_EQ(countLines("error", refused), 1u);
  EXPECT_EQ(countLines("b1", "空き"), 0u) << "a refused login is no idle line";

  ASSERT_EQ(control("password wrongpw"), "OK");
  const int back = expectLine("status", "ルーターにログインできました", static_cast<std::size_t>(told));
  expectLine("b1", "空き", static_cast<std::size_t>(told));
  expectLine("notify", "link-back", static_cast<std::size_t>(told));
  ASSERT_GE(back, 0);
  ASSERT_TRUE(waitEndedSessions(endedSessions() + 2));
  EXPECT_EQ(countLines("error", refused), 1u);
  endWith(SIGTERM);
}

// Nobody listens where the router should be: the reason at the first
// failed exchange, not "ルーター応答なし" three polls later; the router
// starting up there ends it.
TEST_F(Headless, RefusedConnectionSaysWhyAtOnce) {
  consolePort = contracts::unusedLoopbackPort();
  writeIni();
  startTarvik();
  const std::string refused = "接続を拒否されました (127.0.0.1:" + std::to_string(consolePort) +
                              ")。ルーターのアドレスを確認してください";
  const int told = expectLine("error", refused);
  ASSERT_GE(told, 0);
  expectLine("notify", "link-failed");

  startSim({"--port", std::to_string(consolePort)});
  const int back = expectLine("status", "ルーターと再び通信できます", static_cast<std::size_t>(told));
  ASSERT_GE(back, 0);
  EXPECT_EQ(countLines("error", refused), 1u);
  EXPECT_EQ(countLines("status", "ルーター応答なし"), 0u) << "the reason stays until the router answers";
  endWith(SIGTERM);
}

// A router whose answers cannot be cut into answers (a flood of a megabyte
// with no prompt): told at once, once, and once more when it answers
// normally again.
TEST_F(Headless, FloodedAnswersAreToldOnce) {
  const std::string unreadable = "ルーターの応答を読み取れません。ルーターの状態を確認してください";
  startSim();
  writeIni();
  startTarvik();
  const int idle = expectLine("b1", "空き");
  ASSERT_GE(idle, 0);
  ASSERT_EQ(control("fault flood"), "OK");
  const int told = expectLine("error", unreadable, static_cast<std::size_t>(idle));
  ASSERT_GE(told, 0);
  ASSERT_TRUE(waitEndedSessions(endedSessions() + 3));
  EXPECT_EQ(countLines("error", unreadable), 1u);

  ASSERT_EQ(control("nofault flood"), "OK");
  expectLine("status", "ルーターと再び通信できます", static_cast<std::size_t>(told));
  EXPECT_EQ(countLines("error", unreadable), 1u);
  endWith(SIGTERM);
}

}  // namespace
}  // namespace tarvik::headless_test

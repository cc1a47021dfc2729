// `tarvik --headless` against the router simulator on loopback: the whole
// program, watched through its event lines.
#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine/base/sjis.h"
#include "sim/headlessharness.h"
#include "sim/simharness.h"

namespace tarvik::headless_test {
namespace {

namespace fs = std::filesystem;

constexpr int kPollMs = 200;
constexpr const char* kLogBreak = "*** ログ分断 ***";

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

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

// "H:MM" of the local time, as the program compares set times.
std::string clockText(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[8];
  std::snprintf(buf, sizeof buf, "%d:%02d", tm.tm_hour, tm.tm_min);
  return buf;
}

class Headless : public ::testing::Test {
 protected:
  void TearDown() override {
    if (HasFailure()) {
      std::string out;
      for (const std::string& l : app.lines()) out += "  " + l + "\n";
      std::cerr << "tarvik printed:\n" << out << "tarvik stderr:\n" << readFile(dir / "tarvik.err");
    }
  }

  void startSim(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--connect-delay-ms", "300", "--seed", "7"};
    args.insert(args.end(), extra.begin(), extra.end());
    sim = std::make_unique<simtest::Sim>(args);
    consolePort = sim->console;
    ASSERT_GT(consolePort, 0);
  }

  // One request on the simulator's control port; its answer line.
  std::string control(const std::string& request) { return sim->control(request); }

  // Tarvik.ini pointing at the simulator, with more INI text after it.
  void writeIni(const std::string& more = "") {
    writeFile(dir / "Tarvik.ini", toSjis("[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=" + std::to_string(consolePort) +
                                         "\r\n" + more));
  }

  void startTarvik(std::vector<std::string> words = {}, Child* child = nullptr) {
    std::vector<std::string> args = {"--headless", "--config-dir", dir.path().string(), "--poll-ms",
                                     std::to_string(kPollMs)};
    args.insert(args.end(), words.begin(), words.end());
    (child ? *child : app).start(tarvikBinary(), args, dir.path(), dir / "tarvik.err");
  }

  // Index of the first line from `from` on of this kind whose text
  // contains `part`; -1 (and a failure) when none came in time.
  int expectLine(const std::string& kind, const std::string& part, Ms timeout = kEventWait, std::size_t from = 0) {
    int i = app.waitLine(
        [&](const std::string& raw) {
          Line l = parseLine(raw);
          return l.kind == kind && l.text().find(part) != std::string::npos;
        },
        timeout, from);
    EXPECT_GE(i, 0) << "no line " << kind << " with \"" << part << "\"";
    return i;
  }

  Line lineAt(int i) const { return parseLine(app.lines().at(static_cast<std::size_t>(i))); }

  std::string simState() { return control("state"); }

  // Waits until the simulator's state line contains `part`.
  bool waitState(const std::string& part, Ms timeout = kEventWait) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      if (simState().find(part) != std::string::npos) return true;
      app.drain(100ms);
    }
    ADD_FAILURE() << "simulator never showed " << part << "; last: " << simState();
    return false;
  }

  // Ends tarvik with a signal and checks it said so and exited cleanly.
  void endWith(int sig) {
    app.signal(sig);
    std::optional<int> code = app.wait(kEventWait);
    ASSERT_TRUE(code.has_value()) << "still running after the signal";
    EXPECT_EQ(*code, 0);
    ASSERT_FALSE(app.lines().empty());
    EXPECT_EQ(app.lines().back(), "quit");
  }

  TempDir dir;
  std::unique_ptr<simtest::Sim> sim;
  Child app;
  int consolePort = 0;
};

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

  // A second start with the same settings ends at once, silently.
  Child second;
  startTarvik({"co"}, &second);
  std::optional<int> code = second.wait(kEventWait);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0);
  EXPECT_TRUE(second.lines().empty());
  EXPECT_NE(simState().find("b1=idle"), std::string::npos) << "the second start must not dial";

  // So does one with other settings: one Tarvik per user session.
  TempDir otherConfig;
  fs::copy_file(dir / "Tarvik.ini", otherConfig / "Tarvik.ini");
  Child third;
  third.start(tarvikBinary(), {"--headless", "--config-dir", otherConfig.path().string(), "co"}, dir.path(),
              dir / "third.err");
  code = third.wait(kEventWait);
  ASSERT_TRUE(code.has_value()) << "a second instance with another --config-dir runs";
  EXPECT_EQ(*code, 0);
  EXPECT_TRUE(third.lines().empty());
  EXPECT_NE(simState().find("b1=idle"), std::string::npos) << "the third start must not dial";

  endWith(SIGINT);
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
  expectLine("sound", "wav/切断.wav", kEventWait, before);
  int end = expectLine("end", script.string(), kEventWait, before);
  ASSERT_GE(end, 0);
  EXPECT_EQ(lineAt(end).fields, l.fields);
  EXPECT_TRUE(waitUntil([&] { return ::kill(std::stoi(pid), 0) != 0; })) << "the launched program was not ended";
  endWith(SIGTERM);
}

TEST_F(Headless, IncomingCallShowsTheListedName) {
  startSim();
  writeIni();
  writeFile(dir / "Tarvik.lst", toSjis("0312341234:Office\r\n0452223333:山田商店\r\n"));
  startTarvik();
  expectLine("b1", "空き");
  std::size_t before = app.lines().size();
  ASSERT_EQ(control("ring 0452223333").rfind("OK", 0), 0u);
  int caller = expectLine("caller", "山田商店", kEventWait, before);
  ASSERT_GE(caller, 0);
  EXPECT_EQ(lineAt(caller).fields, (std::vector<std::string>{"山田商店", "0452223333"}));
  expectLine("sound", "wav/着信.wav", kEventWait, before);  // no name sound file: the general one

  ASSERT_EQ(control("stop-ring").rfind("OK", 0), 0u);
  expectLine("caller-off", "", kEventWait, static_cast<std::size_t>(caller));
  endWith(SIGHUP);  // a closed terminal ends it as cleanly
}

TEST_F(Headless, BusyDestinationIsRedialledToTheAlternate) {
  startSim({"--busy", "0"});
  writeIni("DEFAULT=0\r\nREDIAL=2\r\n[RD]\r\n0=2\r\n");
  startTarvik({"co"});
  int first = expectLine("status", "ダイアル開始 (2/2)");
  int redial = expectLine("details", "リダイアル", kEventWait, static_cast<std::size_t>(std::max(first, 0)));
  expectLine("sound", "wav/話中.wav", kEventWait, static_cast<std::size_t>(std::max(first, 0)));
  expectLine("status", "ダイアル開始 (1/2)", kEventWait, static_cast<std::size_t>(std::max(redial, 0)));
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

  // A second run with the disconnect time set to this minute (not at the
  // very end of one, so the first ticks fall into it).
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  if (tm.tm_sec >= 57) {
    std::this_thread::sleep_for(std::chrono::seconds(61 - tm.tm_sec));
    now = std::time(nullptr);
  }
  writeIni("[TIME]\r\nON=\r\nOFF=" + clockText(now) + "\r\nWARNING=\r\n");
  app.reset();
  startTarvik();
  expectLine("jigen", "時限切断 [" + clockText(now) + "]");
  expectLine("sound", "wav/切断.wav");
  EXPECT_TRUE(waitState("b1=idle"));
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

  // ... and the fetch after a disconnection appends only what is new.
  ASSERT_EQ(control("history entry-A").rfind("OK", 0), 0u);
  ASSERT_EQ(control("history entry-B").rfind("OK", 0), 0u);
  ASSERT_EQ(control("hangup").rfind("OK", 0), 0u);
  expectLine("status", "ログ書き出し完了", kEventWait, static_cast<std::size_t>(written) + 1);
  std::vector<std::string> second = logLines(log);
  ASSERT_EQ(second.size(), first.size() + 3) << "entry-A, entry-B and the disconnection";
  EXPECT_TRUE(std::equal(first.begin(), first.end(), second.begin()));
  EXPECT_NE(second[first.size()].find("entry-A"), std::string::npos);
  EXPECT_NE(second[first.size() + 1].find("entry-B"), std::string::npos);
  EXPECT_NE(second.back().find("切断"), std::string::npos);
  endWith(SIGTERM);

  // The router's history moves past the file's last entry.
  for (int i = 1; i <= 9; ++i) control("history roll-" + std::to_string(i));

  // Run 2: the start-up fetch cannot find where the file left off ...
  app.reset();
  startTarvik({"co"});
  written = expectLine("status", "ログ書き出し完了");
  std::vector<std::string> third = logLines(log);
  ASSERT_EQ(third.size(), second.size() + 1);
  EXPECT_TRUE(std::equal(second.begin(), second.end(), third.begin()));
  EXPECT_EQ(third.back(), kLogBreak);

  // ... and the next fetch appends the router's whole history after the mark.
  ASSERT_EQ(control("hangup").rfind("OK", 0), 0u);
  expectLine("status", "ログ書き出し完了", kEventWait, static_cast<std::size_t>(std::max(written, 0)) + 1);
  std::vector<std::string> fourth = logLines(log);
  ASSERT_EQ(fourth.size(), third.size() + 8) << "the eight entries the router keeps";
  EXPECT_TRUE(std::equal(third.begin(), third.end(), fourth.begin()));
  EXPECT_NE(fourth.back().find("切断"), std::string::npos);
  endWith(SIGTERM);
}

TEST_F(Headless, UnreachableRouterIsShownAfterThreePollsAndCleared) {
  startSim();
  writeIni();
  startTarvik();
  int idle = expectLine("b1", "空き");
  ASSERT_GE(idle, 0);
  ASSERT_EQ(control("fault refuse").rfind("OK", 0), 0u);
  int shown = expectLine("status", "ルーター応答なし", kEventWait, static_cast<std::size_t>(idle));
  ASSERT_GE(shown, 0);
  expectLine("tip", "ルーター応答なし", kEventWait, static_cast<std::size_t>(idle));

  ASSERT_EQ(control("nofault refuse").rfind("OK", 0), 0u);
  int cleared = app.waitLine(
      [](const std::string& raw) {
        Line l = parseLine(raw);
        return l.kind == "tip" && l.text().rfind("B1 ", 0) == 0;
      },
      kEventWait, static_cast<std::size_t>(shown));
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

TEST_F(Headless, DialNeedingTheIdDialogIsRefused) {
  startSim();
  writeIni("[OPTION]\r\nCHECK16=1\r\n");  // ID and password asked at every dial
  startTarvik({"co"});
  expectLine("status", "ID/パスワード入力はヘッドレスでは使えません");
  app.drain(1s);
  EXPECT_NE(simState().find("b1=idle"), std::string::npos);
  endWith(SIGTERM);
}

TEST(HeadlessCommandLine, AnswersWithoutRunning) {
  TempDir dir;
  writeFile(dir / "Tarvik.ini", "[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=2999\r\n[OPTION]\r\nTIME=0x0A\r\n");
  writeFile(dir / "empty.ini", "");
  fs::create_directory(dir / "empty");
  fs::create_directories(dir / "unreadable/Tarvik.ini");  // a folder where the file belongs
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
      {{"--headless", "--config-dir", (dir / "empty").string()}, 2, "", "SOHOIP"},
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
  child.stop();
}
#endif

}  // namespace
}  // namespace tarvik::headless_test

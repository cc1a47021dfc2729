// `tarvik.exe --headless` under Wine against the router simulator on
// loopback: the scenarios of the Linux program's end-to-end tests, and the
// lines of both programs compared for the same router output.
#include <signal.h>

#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "engine/base/sjis.h"
#include "sim/headlessharness.h"
#include "sim/simharness.h"

namespace tarvik::headless_test {
namespace {

namespace fs = std::filesystem;

constexpr int kPollMs = 200;
// Wine starts a program in a second or two; on a loaded machine more.
constexpr Ms kWait = 30s;

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

// The path as Windows programs under Wine see it (drive Z: is the root).
std::string windowsPath(const fs::path& path) {
  std::string p = "Z:" + fs::absolute(path).string();
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}

std::string clockText(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[8];
  std::snprintf(buf, sizeof buf, "%d:%02d", tm.tm_hour, tm.tm_min);
  return buf;
}

fs::path launchee() {
  const char* path = std::getenv("TARVIK_LAUNCHEE");
  return path ? fs::path(path) : fs::path();
}

class WineHeadless : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::getenv("TARVIK_EXE"), nullptr) << "run by scripts/test-windows.sh"; }

  void TearDown() override {
    if (HasFailure()) {
      std::string out;
      for (const std::string& l : app.lines()) out += "  " + l + "\n";
      std::cerr << "tarvik.exe printed:\n" << out << "tarvik.exe stderr:\n" << readFile(dir / "tarvik.err");
    }
  }

  void startSim(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--connect-delay-ms", "300", "--seed", "7"};
    args.insert(args.end(), extra.begin(), extra.end());
    sim = std::make_unique<simtest::Sim>(args);
    consolePort = sim->console;
    ASSERT_GT(consolePort, 0);
  }

  void writeIni(const std::string& more = "") {
    writeFile(dir / "Tarvik.ini", toSjis("[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=" + std::to_string(consolePort) +
                                         "\r\n" + more));
  }

  void startTarvik(std::vector<std::string> words = {}, Child* child = nullptr,
                   const fs::path& program = tarvikBinary()) {
    std::vector<std::string> args = {"--headless", "--config-dir", dir.path().string(), "--poll-ms",
                                     std::to_string(kPollMs)};
    args.insert(args.end(), words.begin(), words.end());
    Child& c = child ? *child : app;
    c.keepDisplay(program == tarvikBinary());
    c.start(program, args, dir.path(), dir / "tarvik.err");
  }

  int expectLine(const std::string& kind, const std::string& part, Ms timeout = kWait, std::size_t from = 0) {
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

  std::string simState() { return sim->control("state"); }

  bool waitState(const std::string& part, Ms timeout = kWait) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      if (simState().find(part) != std::string::npos) return true;
      app.drain(100ms);
    }
    ADD_FAILURE() << "simulator never showed " << part << "; last: " << simState();
    return false;
  }

  // Ctrl-C (Wine turns SIGINT into the console's Ctrl-C event): the
  // program says so and exits cleanly.
  void endWithCtrlC(Child& child) {
    child.signal(SIGINT);
    std::optional<int> code = child.wait(kWait);
    ASSERT_TRUE(code.has_value()) << "still running after Ctrl-C";
    EXPECT_EQ(*code, 0);
    ASSERT_FALSE(child.lines().empty());
    EXPECT_EQ(child.lines().back(), "quit");
  }
  void endWithCtrlC() { endWithCtrlC(app); }

  TempDir dir;
  std::unique_ptr<simtest::Sim> sim;
  Child app;
  int consolePort = 0;
};

TEST_F(WineHeadless, StartShowsDestinationListAndBannerAndRunsOnce) {
  startSim();
  writeIni();
  startTarvik();
  expectLine("status", "待機中");
  expectLine("version", "MN128-SOHO.F Ver 2.40");
  ASSERT_GE(expectLine("menu", "#15 ﾓﾊﾞｲﾙ"), 0);
  std::map<int, std::string> menu;
  for (const std::string& raw : app.lines()) {
    Line l = parseLine(raw);
    if (l.kind == "menu" && l.fields.size() == 2) menu[std::stoi(l.fields[0])] = l.fields[1];
  }
  ASSERT_EQ(menu.size(), 16u);
  EXPECT_EQ(menu[0], "#0  Tarvik ISP");
  EXPECT_EQ(menu[1], "#1  会社");
  expectLine("b1", "空き");

  // The named mutex: a second start in the same session ends at once.
  Child second;
  startTarvik({"co"}, &second);
  std::optional<int> code = second.wait(kWait);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0);
  EXPECT_TRUE(second.lines().empty());
  EXPECT_NE(simState().find("b1=idle"), std::string::npos) << "the second start must not dial";
  endWithCtrlC();
}

TEST_F(WineHeadless, DialConnectsLaunchesWithTheAddressAndEndsTheProgramAtDisconnection) {
  ASSERT_FALSE(launchee().empty()) << "TARVIK_LAUNCHEE is not set";
  startSim();
  const fs::path record = dir / "argv.txt";
  const std::string program = windowsPath(launchee());
  // A line that starts and ends with a quote is kept in one more pair of
  // quotes, as the settings dialog saves it: reading takes one pair off.
  writeIni("[AP0]\r\n1=\"\"" + program + "\" " + windowsPath(record) + " --ip=$IP \"two words\"\"\r\n");
  startTarvik({"co"});

  expectLine("status", "ダイアル開始");
  expectLine("sound", "wav/接続.wav");
  int launch = expectLine("launch", program);
  ASSERT_GE(launch, 0);
  Line l = lineAt(launch);
  ASSERT_EQ(l.fields.size(), 4u) << l.text();
  EXPECT_EQ(l.fields[1], windowsPath(record));
  const std::string ipArg = l.fields[2];
  ASSERT_EQ(ipArg.rfind("--ip=203.0.113.", 0), 0u) << ipArg;
  EXPECT_EQ(l.fields[3], "two words");
  ASSERT_TRUE(waitState("b1=connected:0:" + ipArg.substr(5)));

  // The program really ran, with the address in place of $IP.
  for (int i = 0; i < 300 && !fs::exists(record); ++i) app.drain(100ms);
  std::istringstream recorded(readFile(record));
  std::string pid, arg1, arg2;
  std::getline(recorded, pid);
  std::getline(recorded, arg1);
  std::getline(recorded, arg2);
  EXPECT_EQ(arg1, ipArg);
  EXPECT_EQ(arg2, "two words");
  ASSERT_FALSE(pid.empty());

  // The network drops the call: the disconnection sound, and slot 1 is
  // asked to close (its window answers WM_CLOSE, so well before 5 s).
  std::size_t before = app.lines().size();
  ASSERT_EQ(sim->control("hangup").rfind("OK", 0), 0u);
  expectLine("sound", "wav/切断.wav", kWait, before);
  int end = expectLine("end", program, kWait, before);
  ASSERT_GE(end, 0);
  EXPECT_EQ(lineAt(end).fields, l.fields);
  endWithCtrlC();
}

TEST_F(WineHeadless, IncomingCallShowsTheListedName) {
  startSim();
  writeIni();
  writeFile(dir / "Tarvik.lst", toSjis("0312341234:Office\r\n0452223333:山田商店\r\n"));
  startTarvik();
  expectLine("b1", "空き");
  std::size_t before = app.lines().size();
  ASSERT_EQ(sim->control("ring 0452223333").rfind("OK", 0), 0u);
  int caller = expectLine("caller", "山田商店", kWait, before);
  ASSERT_GE(caller, 0);
  EXPECT_EQ(lineAt(caller).fields, (std::vector<std::string>{"山田商店", "0452223333"}));
  expectLine("sound", "wav/着信.wav", kWait, before);
  ASSERT_EQ(sim->control("stop-ring").rfind("OK", 0), 0u);
  expectLine("caller-off", "", kWait, static_cast<std::size_t>(caller));
  endWithCtrlC();
}

TEST_F(WineHeadless, BusyDestinationIsRedialledToTheAlternate) {
  startSim({"--busy", "0"});
  writeIni("DEFAULT=0\r\nREDIAL=2\r\n[RD]\r\n0=2\r\n");
  startTarvik({"co"});
  int first = expectLine("status", "ダイアル開始 (2/2)");
  int redial = expectLine("details", "リダイアル", kWait, static_cast<std::size_t>(std::max(first, 0)));
  expectLine("sound", "wav/話中.wav", kWait, static_cast<std::size_t>(std::max(first, 0)));
  expectLine("status", "ダイアル開始 (1/2)", kWait, static_cast<std::size_t>(std::max(redial, 0)));
  EXPECT_TRUE(waitState("b1=connected:2:"));
  endWithCtrlC();
}

TEST_F(WineHeadless, TimedDisconnectDropsTheLineAtTheSetMinute) {
  startSim();
  writeIni();
  // A first run dials and is ended by Ctrl-C: the line stays up, and the
  // settings file is left exactly as it was.
  const std::string iniBefore = readFile(dir / "Tarvik.ini");
  startTarvik({"co"});
  ASSERT_TRUE(waitState("b1=connected:0:"));
  endWithCtrlC();
  EXPECT_EQ(readFile(dir / "Tarvik.ini"), iniBefore);
  EXPECT_NE(simState().find("b1=connected:0:"), std::string::npos);

  // A second run with the disconnect time set to this minute (not at the
  // end of one: a Wine start takes a few seconds).
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  if (tm.tm_sec >= 45) {
    std::this_thread::sleep_for(std::chrono::seconds(61 - tm.tm_sec));
    now = std::time(nullptr);
  }
  writeIni("[TIME]\r\nON=\r\nOFF=" + clockText(now) + "\r\nWARNING=\r\n");
  app.reset();
  startTarvik();
  expectLine("jigen", "時限切断 [" + clockText(now) + "]");
  expectLine("sound", "wav/切断.wav");
  EXPECT_TRUE(waitState("b1=idle"));
  endWithCtrlC();
}

TEST_F(WineHeadless, UnreachableRouterIsShownAfterThreePollsAndCleared) {
  startSim();
  writeIni();
  startTarvik();
  int idle = expectLine("b1", "空き");
  ASSERT_GE(idle, 0);
  ASSERT_EQ(sim->control("fault refuse").rfind("OK", 0), 0u);
  int shown = expectLine("status", "ルーター応答なし", kWait, static_cast<std::size_t>(idle));
  ASSERT_GE(shown, 0);
  ASSERT_EQ(sim->control("nofault refuse").rfind("OK", 0), 0u);
  int cleared = app.waitLine(
      [](const std::string& raw) {
        Line l = parseLine(raw);
        return l.kind == "tip" && l.text().rfind("B1 ", 0) == 0;
      },
      kWait, static_cast<std::size_t>(shown));
  EXPECT_GE(cleared, 0) << "the tip never showed the channels again";
  endWithCtrlC();
}

// The lines both programs print from their start to the idle line of B1,
// and through an incoming call with a listed name, for the same router
// output, are the same lines in the same order. (A dial given at start may
// go out with the first exchange or the next, as the connection is quick
// or not, on either platform; the router's own events are polled alike.)
TEST_F(WineHeadless, PrintsWhatTheLinuxProgramPrints) {
  writeFile(dir / "Tarvik.lst", toSjis("0312341234:Office\r\n"));
  // Each program meets a router of its own in the same starting state.
  auto run = [&](const fs::path& program, const std::string& name) {
    startSim();
    writeIni();
    Child child;
    startTarvik({}, &child, program);
    const int idle = child.waitLine([](const std::string& raw) { return raw == "b1\t空き"; }, kWait);
    EXPECT_GE(idle, 0) << name << " never showed B1 idle";
    EXPECT_EQ(sim->control("ring 0312341234").rfind("OK", 0), 0u);
    const int caller = child.waitLine([](const std::string& raw) { return raw.rfind("caller\tOffice", 0) == 0; },
                                      kWait, static_cast<std::size_t>(std::max(idle, 0)));
    EXPECT_GE(caller, 0) << name << " never showed the caller";
    EXPECT_EQ(sim->control("stop-ring").rfind("OK", 0), 0u);
    const int gone = child.waitLine([](const std::string& raw) { return raw.rfind("caller-off", 0) == 0; },
                                    kWait, static_cast<std::size_t>(std::max(caller, 0)));
    EXPECT_GE(gone, 0) << name << " never took the caller away";
    std::vector<std::string> lines(child.lines().begin(), child.lines().begin() + std::max(gone + 1, 0));
    endWithCtrlC(child);
    return lines;
  };
  const std::vector<std::string> linux = run(TARVIK_LINUX_BINARY, "tarvik");
  const std::vector<std::string> windows = run(tarvikBinary(), "tarvik.exe");
  ASSERT_FALSE(linux.empty());
  // The elapsed-time text counts seconds of each run's own, and each
  // program names a sound by the folder it found it in; the rest is the
  // same text.
  auto comparable = [](std::vector<std::string> lines) {
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.rfind("elapsed\t", 0) == 0; }),
                lines.end());
    for (std::string& l : lines) {
      if (l.rfind("sound\t", 0) == 0) l = "sound\t" + l.substr(l.find_last_of("/\\") + 1);
    }
    return lines;
  };
  const std::vector<std::string> w = comparable(windows), l = comparable(linux);
  std::size_t same = 0;
  while (same < w.size() && same < l.size() && w[same] == l[same]) ++same;
  EXPECT_TRUE(same == w.size() && same == l.size())
      << "first difference at line " << same << ": tarvik.exe \"" << (same < w.size() ? w[same] : "(end)")
      << "\", tarvik \"" << (same < l.size() ? l[same] : "(end)") << "\"";
}

}  // namespace
}  // namespace tarvik::headless_test

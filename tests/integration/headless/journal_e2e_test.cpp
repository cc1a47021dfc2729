// The call journal and the notify lines of `tarvik --headless` against the
// router simulator: a call, a missed call and a busy dial end up in
// Tarvik-journal.csv, in `tarvik --usage` and as notify lines. And
// `tarvik --usage` over a journal written for the test: the estimated cost
// by [TARIFF], and a wrong month refused.

#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "base/sjis.h"
#include "sim/headlessharness.h"
#include "sim/simharness.h"

namespace tarvik::headless_test {
namespace {

namespace fs = std::filesystem;

constexpr int kPollMs = 200;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class JournalE2e : public ::testing::Test {
 protected:
  void TearDown() override {
    if (!HasFailure()) return;
    std::string out;
    for (const std::string& l : app.lines()) out += "  " + l + "\n";
    std::cerr << "tarvik printed:\n"
              << out << "tarvik stderr:\n"
              << readFile(dir / "tarvik.err") << "journal:\n"
              << readFile(dir / "Tarvik-journal.csv");
  }

  void startSim() {
    sim = std::make_unique<simtest::Sim>(std::vector<std::string>{"--connect-delay-ms", "300", "--seed", "7"});
    consolePort = sim->console;
    ASSERT_GT(consolePort, 0);
  }

  void startTarvik(const std::vector<std::string>& words) {
    std::vector<std::string> args = {"--headless", "--config-dir", dir.path().string(), "--poll-ms",
                                     std::to_string(kPollMs)};
    args.insert(args.end(), words.begin(), words.end());
    app.start(tarvikBinary(), args, dir.path(), dir / "tarvik.err");
  }

  int expectLine(const std::string& kind, const std::string& text, std::size_t from, Ms timeout = kEventWait) {
    int i = app.waitLine(
        [&](const std::string& raw) {
          Line l = parseLine(raw);
          return l.kind == kind && l.text() == text;
        },
        timeout, from);
    EXPECT_GE(i, 0) << "no line " << kind << "\t" << text;
    return i;
  }

  void stopTarvik() {
    app.signal(SIGTERM);
    ASSERT_TRUE(app.wait(kEventWait).has_value());
  }

  void ok(const std::string& command) {
    ASSERT_EQ(sim->control(command).rfind("OK", 0), 0u) << command;
  }

  TempDir dir;
  std::unique_ptr<simtest::Sim> sim;
  Child app;
  int consolePort = 0;
};

TEST_F(JournalE2e, ACallAMissedCallAndABusyDialAreJournalledNotifiedAndSummed) {
  startSim();
  writeFile(dir / "Tarvik.ini", toSjis("[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=" + std::to_string(consolePort) +
                                       "\r\nDEFAULT=0\r\n[NOTIFY]\r\nCONNECTED=1\r\nDISCONNECTED=1\r\n"));
  writeFile(dir / "Tarvik.lst", toSjis("0452223333:山田商店\r\n"));

  // A call to #0 that the network drops.
  startTarvik({"co"});
  int connected = app.waitLine(
      [](const std::string& raw) {
        Line l = parseLine(raw);
        return l.kind == "notify" && l.fields.size() == 3 && l.fields[0] == "connected" &&
               l.fields[2].rfind("Tarvik ISP 203.0.113.", 0) == 0;
      },
      kEventWait);
  ASSERT_GE(connected, 0) << "no connected notice";
  ok("hangup");
  expectLine("notify", "disconnected\t切断\tTarvik ISP 接続時間 1分", static_cast<std::size_t>(connected));

  // A call that rings and stops unanswered.
  std::size_t before = app.lines().size();
  ok("ring 0452223333");
  int rang = expectLine("notify", "incoming\t着信\t山田商店 0452223333", before);
  ASSERT_GE(rang, 0);
  ok("stop-ring");
  expectLine("caller-off", "", static_cast<std::size_t>(rang));
  stopTarvik();

  // Another run: the default destination is busy now.
  ok("busy 0");
  app.reset();
  startTarvik({"co"});
  expectLine("notify", "failed\t話中\tTarvik ISP", 0);
  stopTarvik();

  // The journal: a header and one line per event, in order.
  std::istringstream journal(readFile(dir / "Tarvik-journal.csv"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(journal, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 4u) << readFile(dir / "Tarvik-journal.csv");
  EXPECT_EQ(lines[0], "event,start,end,channel,destination,name,number,ip,minutes,result");
  EXPECT_EQ(lines[1].rfind("outgoing,", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find(",B1,#0,Tarvik ISP,0312345678,203.0.113."), std::string::npos) << lines[1];
  EXPECT_EQ(lines[1].substr(lines[1].size() - 3), ",1,") << lines[1];
  EXPECT_EQ(lines[2].rfind("incoming,", 0), 0u) << lines[2];
  EXPECT_NE(lines[2].find(",,B1,,山田商店,0452223333,,0,missed"), std::string::npos) << lines[2];
  EXPECT_EQ(lines[3].rfind("busy,", 0), 0u) << lines[3];
  EXPECT_NE(lines[3].find(",,,#0,Tarvik ISP,,,0,"), std::string::npos) << lines[3];

  // And the month as `tarvik --usage` prints it.
  Child usage;
  usage.start(tarvikBinary(), {"--usage", "--config-dir", dir.path().string()}, dir.path(),
              dir / "usage.err");
  std::optional<int> code = usage.wait(kEventWait);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0);
  std::string out;
  for (const std::string& l : usage.lines()) out += l + "\n";
  for (const char* expected : {"合計           1 分  接続 1 回  失敗 0 回  話中 1 回\n",
                               "              1     1      10  #0 Tarvik ISP 0312345678\n", "着信 1 件 (不在 1 件)\n",
                               "  不在  0452223333  山田商店\n"}) {
    EXPECT_NE(out.find(expected), std::string::npos) << expected << "\nin:\n" << out;
  }
  EXPECT_EQ(readFile(dir / "usage.err"), "");
}

struct UsageRun {
  std::optional<int> code;
  std::string out, err;
};

UsageRun runUsage(const TempDir& dir, std::vector<std::string> args) {
  args.insert(args.end(), {"--config-dir", dir.path().string()});
  Child usage;
  usage.start(tarvikBinary(), args, dir.path(), dir / "usage.err");
  UsageRun run;
  run.code = usage.wait(kEventWait);
  for (const std::string& l : usage.lines()) run.out += l + "\n";
  run.err = readFile(dir / "usage.err");
  return run;
}

// Ten metered minutes (4 units), a call that runs into the flat-rate night
// (ten metered minutes, 4 units) and one inside it over midnight (free).
TEST(UsageCost, TheMonthsEstimateFollowsTheTariff) {
  TempDir dir;
  writeFile(dir / "Tarvik.ini", "[TARIFF]\r\nFLATDEST=0\r\n");
  writeFile(dir / "Tarvik-journal.csv",
            "event,start,end,channel,destination,name,number,ip,minutes,result\n"
            "outgoing,2026-11-03 21:00:00,2026-11-03 21:10:00,B1,#0,ISP,0312345678,203.0.113.1,10,\n"
            "outgoing,2026-11-05 22:50:00,2026-11-05 23:20:00,B1,#0,ISP,0312345678,203.0.113.1,30,\n"
            "outgoing,2026-11-06 23:30:00,2026-11-07 01:00:00,B1,#0,ISP,0312345678,203.0.113.1,90,\n");
  UsageRun run = runUsage(dir, {"--usage", "2026-11"});
  ASSERT_EQ(run.code, 0) << run.err;
  for (const char* expected : {"従量          20 分\n", "定額         110 分\n", "\n料金概算\t80円\n",
                               "              3   130      80  #0 ISP 0312345678\n"}) {
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\nin:\n" << run.out;
  }
  EXPECT_EQ(run.err, "");

  // Values out of range count as the defaults: the same estimate.
  writeFile(dir / "Tarvik.ini", "[TARIFF]\r\nUNIT=0\r\nYEN=-5\r\nFLATFROM=24\r\nFLATTO=x\r\nFLATDEST=0,99\r\n");
  run = runUsage(dir, {"--usage", "2026-11"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.out.find("\n料金概算\t80円\n"), std::string::npos) << run.out;

  // Without the flat rate every minute is metered: 4 + 10 + 30 units.
  writeFile(dir / "Tarvik.ini", "[TARIFF]\r\nYEN=20\r\n");
  run = runUsage(dir, {"--usage", "2026-11"});
  EXPECT_NE(run.out.find("\n料金概算\t880円\n"), std::string::npos) << run.out;
}

TEST(UsageCost, AWrongMonthIsAUsageError) {
  TempDir dir;
  for (const char* month : {"2026-13", "foo", "2026-1"}) {
    const UsageRun run = runUsage(dir, {"--usage", month});
    EXPECT_EQ(run.code, 2) << month;
    EXPECT_EQ(run.out, "") << month;
    EXPECT_NE(run.err.find("YYYY-MM"), std::string::npos) << month << ": " << run.err;
  }
}

}  // namespace
}  // namespace tarvik::headless_test

// The call journal and the notify lines of `tarvik --headless` against the
// router simulator: a call, a missed call and a busy dial end up in
// Tarvik-journal.csv, in `tarvik --usage` and as notify lines. And
// `tarvik --usage` over a journal written for the test: the estimated cost
// by [TARIFF], and a wrong month refused.

#include <gtest/gtest.h>
#include <signal.h>

#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "engine/base/sjis.h"
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

// The journal's lines without their line ends; a line that does not end in
// CR LF is reported.
std::vector<std::string> journalLines(const fs::path& dir) {
  std::istringstream journal(readFile(dir / "Tarvik-journal.csv"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(journal, line);) {
    EXPECT_TRUE(!line.empty() && line.back() == '\r') << "no CR LF after: " << line;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The local time as the journal writes it, for comparisons by text.
std::string journalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return buf;
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

  void startSim(const std::vector<std::string>& more = {}) {
    std::vector<std::string> args{"--connect-delay-ms", "300", "--seed", "7"};
    args.insert(args.end(), more.begin(), more.end());
    sim = std::make_unique<simtest::Sim>(args);
    consolePort = sim->console;
    ASSERT_GT(consolePort, 0);
  }

  void writeSettings(const std::string& more = "") {
    writeFile(dir / "Tarvik.ini", toSjis("[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=" + std::to_string(consolePort) +
                                         "\r\nDEFAULT=0\r\n[NOTIFY]\r\nCONNECTED=1\r\nDISCONNECTED=1\r\n" + more));
  }

  void startTarvik(const std::vector<std::string>& words, int pollMs = kPollMs) {
    std::vector<std::string> args = {"--headless", "--config-dir", dir.path().string(), "--poll-ms",
                                     std::to_string(pollMs)};
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
  expectLine("notify", "disconnected\t切断\tTarvik ISP 接続時間 0分", static_cast<std::size_t>(connected));

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

  // The journal: a header and one line per event, in order, as a
  // spreadsheet takes UTF-8: a byte-order mark first, CR LF line ends.
  const std::vector<std::string> lines = journalLines(dir.path());
  ASSERT_EQ(lines.size(), 4u) << readFile(dir / "Tarvik-journal.csv");
  EXPECT_EQ(lines[0], "\xEF\xBB\xBF" "event,start,end,channel,destination,name,number,ip,minutes,result");
  EXPECT_EQ(lines[1].rfind("outgoing,", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find(",B1,#0,Tarvik ISP,0312345678,203.0.113."), std::string::npos) << lines[1];
  EXPECT_EQ(lines[1].substr(lines[1].size() - 3), ",0,") << lines[1];
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
  for (const char* expected : {"合計           0 分  接続 1 回  失敗 0 回  話中 1 回\n",
                               "              1     0      10  #0 Tarvik ISP 0312345678\n", "着信 1 件 (不在 1 件)\n",
                               "  不在  0452223333  山田商店\n"}) {
    EXPECT_NE(out.find(expected), std::string::npos) << expected << "\nin:\n" << out;
  }
  EXPECT_EQ(readFile(dir / "usage.err"), "");
}


// Dialled, up and dropped by the network within one poll interval: the next
// poll finds the line idle, and only the router's messages tell of the
// call. It is notified and journaled all the same.
TEST_F(JournalE2e, ACallShorterThanAPollIsJournalledAndNotified) {
  startSim();
  writeSettings();
  constexpr int kLongPollMs = 4000;  // the call comes and goes well within one
  startTarvik({"co"}, kLongPollMs);
  ASSERT_TRUE(simtest::waitForState(*sim, " b1=connected:"));
  ok("hangup");
  const int connected = expectLine("notify", "connected\t接続\tTarvik ISP", 0);
  ASSERT_GE(connected, 0);
  expectLine("notify", "disconnected\t切断\tTarvik ISP 接続時間 0分", static_cast<std::size_t>(connected));
  // No status block ever showed the connection's address.
  for (const std::string& raw : app.lines()) {
    const Line l = parseLine(raw);
    EXPECT_FALSE(l.kind == "tip-b1" && l.text().find('.') != std::string::npos) << raw;
  }
  stopTarvik();

  const std::vector<std::string> lines = journalLines(dir.path());
  ASSERT_EQ(lines.size(), 2u) << readFile(dir / "Tarvik-journal.csv");
  EXPECT_EQ(lines[1].rfind("outgoing,", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find(",B1,#0,Tarvik ISP,,,0,"), std::string::npos) << lines[1];
}

// A connection that outlives the program: the next run finds it up and does
// not announce it, and journals it from when the router says it began.
TEST_F(JournalE2e, ACallThatSpansARestartIsJournalledFromItsStartAndNotAnnouncedTwice) {
  startSim({"--minute-ms", "50"});  // the router's minutes run fast
  writeSettings();
  startTarvik({"co"});
  ASSERT_GE(app.waitLine(
                [](const std::string& raw) {
                  Line l = parseLine(raw);
                  return l.kind == "notify" && !l.fields.empty() && l.fields[0] == "connected";
                },
                kEventWait),
            0);
  stopTarvik();
  ASSERT_TRUE(simtest::waitForState(*sim, " b1=connected:"));

  app.reset();
  const std::string restarted = journalNow();
  startTarvik({});
  const int seen = app.waitLine(
      [](const std::string& raw) {
        Line l = parseLine(raw);
        return l.kind == "tip-b1" && l.text().rfind("203.0.113.", 0) == 0;
      },
      kEventWait);
  ASSERT_GE(seen, 0) << "the running connection was never shown";
  ok("hangup");
  const int ended = app.waitLine(
      [](const std::string& raw) {
        Line l = parseLine(raw);
        return l.kind == "notify" && l.fields.size() == 3 && l.fields[0] == "disconnected";
      },
      kEventWait);
  ASSERT_GE(ended, 0) << "no disconnected notice";
  const std::string told = parseLine(app.lines()[static_cast<std::size_t>(ended)]).fields[2];
  for (const std::string& raw : app.lines()) {
    const Line l = parseLine(raw);
    EXPECT_FALSE(l.kind == "notify" && !l.fields.empty() && l.fields[0] == "connected") << "announced again: " << raw;
  }
  stopTarvik();

  const std::vector<std::string> lines = journalLines(dir.path());
  ASSERT_EQ(lines.size(), 2u) << readFile(dir / "Tarvik-journal.csv");
  const std::string& call = lines[1];
  EXPECT_EQ(call.rfind("outgoing,", 0), 0u) << call;
  const std::string start = call.substr(std::string("outgoing,").size(), 19);
  EXPECT_LT(start, restarted) << call;
  // The minutes journaled are those the router told on hanging up.
  const std::string minutes = told.substr(told.find("接続時間 ") + std::string("接続時間 ").size());
  EXPECT_NE(call.find("," + minutes.substr(0, minutes.size() - std::string("分").size()) + ","),
            std::string::npos)
      << call << " / " << told;
}

// A journal that cannot be written is said once in the headless program's
// error line and notice; one that cannot be read makes --usage fail, not
// print a month of zeros.
TEST_F(JournalE2e, AJournalThatCannotBeWrittenOrReadIsSaidSo) {
  startSim();
  writeSettings();
  fs::create_directory(dir / "Tarvik-journal.csv");  // a folder in the file's place
  ok("busy 0");
  startTarvik({"co"});
  const std::string failed = "Tarvik-journal.csv に書き込めません（同じ名前のフォルダーがあります）";
  const int error = expectLine("error", failed, 0);
  ASSERT_GE(error, 0);
  expectLine("notify", "journal-failed\t通話記録\t" + failed, 0);
  stopTarvik();
  int errors = 0;
  for (const std::string& raw : app.lines()) errors += parseLine(raw).kind == "error";
  EXPECT_EQ(errors, 1);

  Child usage;
  usage.start(tarvikBinary(), {"--usage", "--config-dir", dir.path().string()}, dir.path(), dir / "usage.err");
  std::optional<int> code = usage.wait(kEventWait);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 2);
  EXPECT_TRUE(usage.lines().empty());
  const std::string message = readFile(dir / "usage.err");
  EXPECT_EQ(message.rfind("tarvik: cannot read the call journal Tarvik-journal.csv: ", 0), 0u) << message;
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

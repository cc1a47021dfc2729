#include "engine/journal/monthsummary.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/journal/usagetable.h"

namespace tarvik {
namespace {

JournalRecord connection(LocalTime start, LocalTime end, int minutes, const std::string& dest,
                         const std::string& name) {
  JournalRecord r;
  r.event = JournalEvent::Outgoing;
  r.start = start;
  r.end = end;
  r.minutes = minutes;
  r.destination = dest;
  r.name = name;
  r.number = "03";
  return r;
}

JournalRecord incoming(LocalTime start, const std::string& number, const std::string& name, bool missed) {
  JournalRecord r;
  r.event = JournalEvent::Incoming;
  r.start = start;
  r.number = number;
  r.name = name;
  r.result = missed ? kJournalMissed : kJournalAnswered;
  return r;
}

JournalRecord moment(JournalEvent event, LocalTime start) {
  JournalRecord r;
  r.event = event;
  r.start = start;
  return r;
}

std::vector<JournalRecord> aMonth() {
  return {
      connection({2026, 11, 30, 23, 30, 0}, {2026, 12, 1, 0, 30, 0}, 60, "#0", "ISP"),  // November's call
      connection({2026, 12, 1, 10, 0, 0}, {2026, 12, 1, 10, 10, 0}, 10, "#4", "大学"),
      connection({2026, 12, 5, 23, 0, 0}, {2026, 12, 6, 1, 0, 0}, 120, "#0", "ISP"),  // past midnight
      connection({2026, 12, 31, 23, 0, 0}, {2027, 1, 1, 0, 0, 0}, 60, "#0", "ISP"),
      incoming({2026, 12, 9, 8, 0, 0}, "0312341234", "山田", true),
      incoming({2026, 12, 2, 8, 0, 0}, "0399999999", "", false),
      incoming({2027, 1, 2, 8, 0, 0}, "0311111111", "", true),
      moment(JournalEvent::Failed, {2026, 12, 3, 1, 0, 0}),
      moment(JournalEvent::Busy, {2026, 12, 3, 1, 1, 0}),
      moment(JournalEvent::Busy, {2026, 11, 3, 1, 1, 0}),
  };
}

TEST(MonthSummary, MinutesGoToTheDaysTheyWereSpentOn) {
  MonthSummary s = summarizeMonth(aMonth(), 2026, 12);
  ASSERT_EQ(s.minutesPerDay.size(), 31u);
  EXPECT_EQ(s.minutesPerDay[0], 30 + 10);  // the half hour after midnight of November's call
  EXPECT_EQ(s.minutesPerDay[4], 60);       // 23:00 to midnight
  EXPECT_EQ(s.minutesPerDay[5], 60);       // midnight to 1:00
  EXPECT_EQ(s.minutesPerDay[30], 60);
  EXPECT_EQ(s.minutes, 40 + 120 + 60);
  EXPECT_EQ(s.calls, 3);  // November's call began in November

  MonthSummary january = summarizeMonth(aMonth(), 2027, 1);
  EXPECT_EQ(january.minutes, 0);  // the call ended on the stroke of midnight
  EXPECT_EQ(january.missed, 1);
}

TEST(MonthSummary, DestinationsAreTotalledMostMinutesFirst) {
  MonthSummary s = summarizeMonth(aMonth(), 2026, 12);
  ASSERT_EQ(s.destinations.size(), 2u);
  EXPECT_EQ(s.destinations[0].destination, "#0");
  EXPECT_EQ(s.destinations[0].calls, 2);
  EXPECT_EQ(s.destinations[0].minutes, 30 + 120 + 60);
  EXPECT_EQ(s.destinations[1].name, "大学");
  EXPECT_EQ(s.destinations[1].minutes, 10);
}

TEST(MonthSummary, IncomingCallsAreInTimeOrderWithTheMissedCounted) {
  MonthSummary s = summarizeMonth(aMonth(), 2026, 12);
  ASSERT_EQ(s.incoming.size(), 2u);
  EXPECT_EQ(s.incoming[0].number, "0399999999");
  EXPECT_EQ(s.incoming[1].name, "山田");
  EXPECT_EQ(s.missed, 1);
  EXPECT_EQ(s.failed, 1);
  EXPECT_EQ(s.busy, 1);
}

TEST(UsageTable, ShowsDaysTotalsAndCallsWithTheMissedMarked) {
  const std::string table = usageTable(summarizeMonth(aMonth(), 2026, 12));
  for (const char* expected : {
           "利用状況 2026-12\n",
           "2026-12-01    40 ##########################\n",
           "2026-12-05    60 ########################################\n",
           "2026-12-02     0 \n",
           "合計         220 分  接続 3 回  失敗 1 回  話中 1 回\n",
           "従量         220 分\n定額           0 分\n料金概算\t640円\n",
           "接続先別      回    分      円\n",
           "              2   210     600  #0 ISP 03\n",
           "              1    10      40  #4 大学 03\n",
           "着信 2 件 (不在 1 件)\n",
           "2026-12-02 08:00:00  応答  0399999999\n",
           "2026-12-09 08:00:00  不在  0312341234  山田\n",
       }) {
    EXPECT_NE(table.find(expected), std::string::npos) << expected << "\nin:\n" << table;
  }
}

TEST(MonthSummary, MinutesAreMeteredOrFreeAndTheCostCountsInTheMonthACallBegan) {
  Tariff tariff;
  tariff.flatDestinations = {0};
  MonthSummary s = summarizeMonth(aMonth(), 2026, 12, tariff);
  EXPECT_EQ(s.minutes, 220);
  EXPECT_EQ(s.flatMinutes, 30 + 120 + 60);
  EXPECT_EQ(s.meteredMinutes(), 10);
  ASSERT_EQ(s.flatMinutesPerDay.size(), 31u);
  EXPECT_EQ(s.flatMinutesPerDay[0], 30);  // November's call after midnight; 大学's 10 are metered
  EXPECT_EQ(s.flatMinutesPerDay[4], 60);
  EXPECT_EQ(s.flatMinutesPerDay[5], 60);
  EXPECT_EQ(s.flatMinutesPerDay[30], 60);
  EXPECT_EQ(s.yen, 40);  // 大学 alone: 10 minutes are 4 units
  ASSERT_EQ(s.destinations.size(), 2u);
  EXPECT_EQ(s.destinations[0].yen, 0);
  EXPECT_EQ(s.destinations[0].flatMinutes, 210);
  EXPECT_EQ(s.destinations[1].yen, 40);
  EXPECT_EQ(s.destinations[1].meteredMinutes(), 10);
}

// A call that runs into the flat-rate period has its minutes shared out
// like its seconds; the table gives the estimate on a line of its own.
TEST(UsageTable, ShowsMeteredAndFlatMinutesAndTheEstimate) {
  auto call = [](LocalTime start, LocalTime end, int minutes) {
    return connection(start, end, minutes, "#0", "ISP");
  };
  const std::vector<JournalRecord> records = {
      call({2026, 11, 3, 21, 0, 0}, {2026, 11, 3, 21, 10, 0}, 10),
      call({2026, 11, 5, 22, 50, 0}, {2026, 11, 5, 23, 20, 0}, 30),
      call({2026, 11, 6, 23, 30, 0}, {2026, 11, 7, 1, 0, 0}, 90),
  };
  Tariff tariff;
  tariff.flatDestinations = {0};
  const MonthSummary s = summarizeMonth(records, 2026, 11, tariff);
  EXPECT_EQ(s.flatMinutesPerDay[4], 20);
  EXPECT_EQ(s.minutesPerDay[4], 30);
  const std::string table = usageTable(s);
  for (const char* expected : {"従量          20 分\n", "定額         110 分\n", "料金概算\t80円\n",
                               "              3   130      80  #0 ISP 03\n"}) {
    EXPECT_NE(table.find(expected), std::string::npos) << expected << "\nin:\n" << table;
  }
}

TEST(UsageTable, AnEmptyMonthSaysSo) {
  const std::string table = usageTable(summarizeMonth({}, 2026, 2));
  EXPECT_NE(table.find("2026-02-28     0 \n"), std::string::npos);
  EXPECT_EQ(table.find("2026-02-29"), std::string::npos);
  EXPECT_NE(table.find("着信 0 件 (不在 0 件)\n(なし)\n"), std::string::npos);
}

TEST(UsageTable, MonthsAreReadAsYearDashMonth) {
  int y = 0, m = 0;
  EXPECT_TRUE(parseYearMonth("2026-12", y, m));
  EXPECT_EQ(y, 2026);
  EXPECT_EQ(m, 12);
  for (const char* bad : {"2026-13", "2026-00", "2026-1", "26-12", "2026/12", "2026-12-01", ""})
    EXPECT_FALSE(parseYearMonth(bad, y, m)) << bad;
}

TEST(MonthCsv, HoldsTheMonthsRecordsInTimeOrderUnderTheHeader) {
  const std::string csv = monthCsv(aMonth(), 2026, 12);
  EXPECT_EQ(csv.rfind(journalHeader() + "\r\n", 0), 0u);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 8);  // November's call ends in December
  EXPECT_LT(csv.find("2026-11-30 23:30:00"), csv.find("2026-12-01 10:00:00"));
  EXPECT_EQ(csv.find("2027-01-02"), std::string::npos);
}

std::size_t longestLine(const std::string& text) {
  std::size_t longest = 0, from = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', from)) {
    longest = std::max(longest, end - from);
    from = end + 1;
  }
  return longest;
}

// Many calls at the same time (a journal put together from several) can
// sum to more minutes than an int holds; the table stays exact and its
// lines as short as a month of real calls makes them.
TEST(UsageTable, SumsPastTheRangeOfAnIntStayExactAndTheLinesShort) {
  const JournalRecord longest =
      connection({2026, 12, 3, 10, 0, 0}, {2026, 12, 3, 10, 0, 0}, kLongestConnectionMinutes, "#0", "ISP");
  const std::size_t count = 50000;  // 50000 * 44640 minutes > 2^31
  const std::vector<JournalRecord> records(count, longest);
  const MonthSummary s = summarizeMonth(records, 2026, 12);
  const long long expected = static_cast<long long>(count) * kLongestConnectionMinutes;
  EXPECT_EQ(s.minutes, expected);
  EXPECT_EQ(s.minutesPerDay[2], expected);
  ASSERT_EQ(s.destinations.size(), 1u);
  EXPECT_EQ(s.destinations[0].minutes, expected);

  const std::string table = usageTable(s);
  EXPECT_NE(table.find("2026-12-03 2232000000 ########################################\n"), std::string::npos)
      << table;
  EXPECT_NE(table.find("合計       2232000000 分"), std::string::npos) << table;
  // No line is wider than the widest of a real month but for the wider
  // numbers (ten digits of minutes and five of calls in place of one).
  const std::size_t widest = longestLine(usageTable(summarizeMonth(aMonth(), 2026, 12))) + 10;
  EXPECT_LE(longestLine(table), widest) << table;
}

// Records whose figures no connection can have (a damaged digit) are left
// out: the month's work and totals follow the month asked for, not the
// length a record claims.
TEST(MonthSummary, RecordsNoConnectionCanHaveAreLeftOut) {
  struct Case {
    const char* name;
    JournalRecord record;
  };
  const Case cases[] = {
      {"two thousand million minutes",
       connection({2026, 12, 3, 10, 0, 0}, {2026, 12, 3, 11, 0, 0}, 2000000000, "#0", "ISP")},
      {"from the year 0 to the year 9999",
       connection({0, 1, 1, 0, 0, 0}, {9999, 12, 31, 23, 59, 59}, 60, "#0", "ISP")},
      {"begun in the year 125", connection({125, 12, 3, 10, 0, 0}, {2026, 12, 3, 11, 0, 0}, 60, "#0", "ISP")},
      {"a day more than the longest month",
       connection({2026, 11, 10, 0, 0, 0}, {2026, 12, 12, 0, 0, 0}, 60, "#0", "ISP")},
  };
  const JournalRecord real = connection({2026, 12, 3, 10, 0, 0}, {2026, 12, 3, 10, 30, 0}, 30, "#4", "大学");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(plausibleRecord(c.record));
    const MonthSummary s = summarizeMonth({c.record, real}, 2026, 12);
    EXPECT_EQ(s.minutes, 30);
    EXPECT_EQ(s.calls, 1);
    EXPECT_EQ(s.yen, 100);
  }
  // The longest month itself is a connection a journal can hold.
  EXPECT_TRUE(plausibleRecord(
      connection({2026, 12, 1, 0, 0, 0}, {2027, 1, 1, 0, 0, 0}, kLongestConnectionMinutes, "#0", "ISP")));
}

}  // namespace
}  // namespace tarvik

// What a connection costs: its time cut by the clock into metered and
// flat-rate stretches, the metered ones charged per started unit.
#include "engine/journal/tariff.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarvik {
namespace {

JournalRecord outgoing(const std::string& destination, LocalTime start, std::optional<LocalTime> end) {
  JournalRecord r;
  r.event = JournalEvent::Outgoing;
  r.start = start;
  r.end = end;
  r.destination = destination;
  return r;
}

// The defaults (180 s, 10 yen, 23:00 to 8:00) with #0 on the flat rate.
Tariff flatForZero() {
  Tariff t;
  t.flatDestinations = {0};
  return t;
}

struct CostCase {
  const char* name;
  JournalRecord record;
  Tariff tariff;
  long long metered, free;
  long long yen;
};

class CallCostTable : public testing::TestWithParam<CostCase> {};

TEST_P(CallCostTable, SplitsByTheClockAndChargesStartedUnits) {
  const CostCase& c = GetParam();
  const CallCost cost = callCost(c.record, c.tariff);
  EXPECT_EQ(cost.meteredSeconds, c.metered);
  EXPECT_EQ(cost.freeSeconds, c.free);
  EXPECT_EQ(cost.yen, c.yen);
}

Tariff custom(int unit, int yen, int from, int to, std::vector<int> flat) {
  Tariff t;
  t.unitSeconds = unit;
  t.yenPerUnit = yen;
  t.flatFrom = from;
  t.flatTo = to;
  t.flatDestinations = std::move(flat);
  return t;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CallCostTable,
    testing::Values(
        CostCase{"metered_only", outgoing("#0", {2026, 11, 3, 21, 0, 0}, LocalTime{2026, 11, 3, 21, 10, 0}),
                 flatForZero(), 600, 0, 40},
        CostCase{"exactly_one_unit", outgoing("#0", {2026, 11, 3, 12, 0, 0}, LocalTime{2026, 11, 3, 12, 3, 0}),
                 flatForZero(), 180, 0, 10},
        CostCase{"one_second_into_the_next_unit",
                 outgoing("#0", {2026, 11, 3, 12, 0, 0}, LocalTime{2026, 11, 3, 12, 3, 1}), flatForZero(), 181,
                 0, 20},
        CostCase{"inside_the_flat_period",
                 outgoing("#0", {2026, 11, 3, 23, 0, 0}, LocalTime{2026, 11, 3, 23, 40, 0}), flatForZero(), 0,
                 2400, 0},
        CostCase{"into_the_flat_period", outgoing("#0", {2026, 11, 5, 22, 50, 0}, LocalTime{2026, 11, 5, 23, 20, 0}),
                 flatForZero(), 600, 1200, 40},
        CostCase{"out_of_the_flat_period",
                 outgoing("#0", {2026, 11, 6, 7, 50, 0}, LocalTime{2026, 11, 6, 8, 10, 1}), flatForZero(), 601,
                 600, 40},
        CostCase{"over_midnight_inside", outgoing("#0", {2026, 11, 6, 23, 30, 0}, LocalTime{2026, 11, 7, 1, 0, 0}),
                 flatForZero(), 0, 5400, 0},
        // Metered on both sides of the night: one sum, charged once.
        CostCase{"through_the_whole_night",
                 outgoing("#0", {2026, 11, 6, 22, 0, 1}, LocalTime{2026, 11, 7, 9, 0, 0}), flatForZero(), 7199,
                 9 * 3600, 400},
        CostCase{"destination_without_flat_rate",
                 outgoing("#1", {2026, 11, 6, 23, 30, 0}, LocalTime{2026, 11, 7, 1, 0, 0}), flatForZero(), 5400,
                 0, 300},
        CostCase{"no_destination_known", outgoing("", {2026, 11, 6, 23, 30, 0}, LocalTime{2026, 11, 6, 23, 33, 0}),
                 flatForZero(), 180, 0, 10},
        // Seen within one poll: the line charged the first unit on connecting.
        CostCase{"zero_length_metered", outgoing("#0", {2026, 11, 3, 21, 0, 0}, LocalTime{2026, 11, 3, 21, 0, 0}),
                 flatForZero(), 0, 0, 10},
        CostCase{"zero_length_in_the_flat_period",
                 outgoing("#0", {2026, 11, 3, 23, 5, 0}, LocalTime{2026, 11, 3, 23, 5, 0}), flatForZero(), 0, 0,
                 0},
        CostCase{"zero_length_without_end", outgoing("#1", {2026, 11, 3, 23, 5, 0}, std::nullopt), flatForZero(),
                 0, 0, 10},
        CostCase{"clock_set_back", outgoing("#0", {2026, 11, 3, 21, 0, 0}, LocalTime{2026, 11, 3, 20, 0, 0}),
                 flatForZero(), 0, 0, 10},
        CostCase{"period_within_one_day",
                 outgoing("#2", {2026, 11, 3, 0, 30, 0}, LocalTime{2026, 11, 3, 5, 30, 0}),
                 custom(60, 3, 1, 5, {2}), 3600, 4 * 3600, 180},
        CostCase{"equal_hours_mean_no_period",
                 outgoing("#2", {2026, 11, 3, 23, 30, 0}, LocalTime{2026, 11, 4, 0, 30, 0}),
                 custom(180, 10, 23, 23, {2}), 3600, 0, 200},
        CostCase{"incoming_costs_nothing",
                 [] {
                   JournalRecord r = outgoing("", {2026, 11, 3, 21, 0, 0}, std::nullopt);
                   r.event = JournalEvent::Incoming;
                   return r;
                 }(),
                 flatForZero(), 0, 0, 0}),
    [](const testing::TestParamInfo<CostCase>& info) { return std::string(info.param.name); });

TEST(ClockStretches, CutAtMidnightAndAtBothEndsOfThePeriod) {
  const JournalRecord r = outgoing("#0", {2026, 11, 6, 22, 0, 0}, LocalTime{2026, 11, 7, 9, 0, 0});
  const std::vector<ClockStretch> s = clockStretches(r, flatForZero());
  ASSERT_EQ(s.size(), 4u);
  const long long start = s[0].from;
  const struct {
    long long from, to;
    bool flat;
  } expected[] = {
      {0, 3600, false}, {3600, 7200, true}, {7200, 10 * 3600, true}, {10 * 3600, 11 * 3600, false}};
  for (std::size_t i = 0; i < s.size(); ++i) {
    EXPECT_EQ(s[i].from - start, expected[i].from) << i;
    EXPECT_EQ(s[i].to - start, expected[i].to) << i;
    EXPECT_EQ(s[i].flatHours, expected[i].flat) << i;
  }
}

TEST(FlatDestinations, AreNumbersFrom0To15WithOrWithoutHash) {
  const struct {
    const char* text;
    std::vector<int> numbers;
  } cases[] = {
      {"", {}}, {"0", {0}}, {"0, 3,#5", {0, 3, 5}}, {" 15 ,16,-1,x,,3,3", {15, 3}}, {"0312345678", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(parseFlatDestinations(c.text), c.numbers) << c.text;

  SettingsStore settings;
  settings.tariff.FLATDEST = "1,#4";
  const Tariff t = tariffOf(settings);
  EXPECT_TRUE(t.hasFlatRate("#4"));
  EXPECT_TRUE(t.hasFlatRate("#1"));
  EXPECT_FALSE(t.hasFlatRate("#14"));
  EXPECT_FALSE(t.hasFlatRate(""));
  EXPECT_EQ(t.unitSeconds, 180);
  EXPECT_EQ(t.flatFrom, 23);
}

}  // namespace
}  // namespace tarvik

// The test clock: a local time that starts where it is told and runs on at
// the pace of another clock's tick, over the calendar.
#include "app/startedclock.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/fakeports.h"

namespace tarvik::app {
namespace {

std::vector<int> fields(const LocalTime& t) { return {t.year, t.month, t.day, t.hour, t.minute, t.second}; }

TEST(StartedClock, StartsAtTheGivenTimeAndRunsOnWithTheTick) {
  test::FakeClock pace;
  pace.tick = 4'000'000'000u;  // close to the 32-bit wrap
  StartedClock clock(pace, {2026, 12, 31, 23, 59, 58});
  EXPECT_EQ(fields(clock.now()), (std::vector<int>{2026, 12, 31, 23, 59, 58}));
  pace.tick += 999;
  EXPECT_EQ(fields(clock.now()), (std::vector<int>{2026, 12, 31, 23, 59, 58})) << "whole seconds only";
  pace.tick += 1;
  EXPECT_EQ(fields(clock.now()), (std::vector<int>{2026, 12, 31, 23, 59, 59}));
  pace.tick += 400'000'000u;  // across the wrap: 4 days, 15:06:40 more
  EXPECT_EQ(fields(clock.now()), (std::vector<int>{2027, 1, 5, 15, 6, 39}));
  EXPECT_EQ(clock.tickMs(), pace.tick) << "the tick is the pace clock's own";
}

TEST(StartedClock, AddsSecondsOverTheCalendar) {
  struct Case {
    LocalTime from;
    long long seconds;
    std::vector<int> to;
  };
  const Case cases[] = {
      {{2026, 12, 11, 10, 29, 58}, 2, {2026, 12, 11, 10, 30, 0}},
      {{2024, 2, 28, 23, 0, 0}, 3600, {2024, 2, 29, 0, 0, 0}},   // a leap year
      {{2100, 2, 28, 23, 0, 0}, 3600, {2100, 3, 1, 0, 0, 0}},    // a century without one
      {{2000, 2, 28, 23, 0, 0}, 3600, {2000, 2, 29, 0, 0, 0}},   // the fourth century with one
      {{2026, 3, 1, 0, 0, 0}, -1, {2026, 2, 28, 23, 59, 59}},
      {{1999, 12, 31, 12, 0, 0}, 366LL * 86'400, {2000, 12, 31, 12, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fields(addSeconds(c.from, c.seconds)), c.to) << c.seconds;
  }
}

TEST(StartedClock, ReadsOnlyRealMomentsInItsOneForm) {
  ASSERT_TRUE(parseLocalTime("2024-02-29 00:00:59").has_value());
  EXPECT_EQ(fields(*parseLocalTime("2026-12-11 10:29:58")), (std::vector<int>{2026, 12, 11, 10, 29, 58}));
  for (const char* bad : {"", "2026-12-11", "2026-12-11T10:29:58", "2026/12/11 10:29:58", "2026-12-11 10:29:5",
                          "2026-12-11 10:29:5x", "2026-02-29 10:00:00", "2026-04-31 10:00:00", "2026-13-01 10:00:00",
                          "2026-00-10 10:00:00", "2026-12-00 10:00:00", "2026-12-11 24:00:00",
                          "2026-12-11 10:60:00", "2026-12-11 10:00:60", " 2026-12-11 10:29:58"}) {
    EXPECT_FALSE(parseLocalTime(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace tarvik::app

// UvTimers: each timer calls its own handler, single-shot timers stop
// after one tick, stop() silences a timer, and a restart replaces the
// interval.
#include "headless/uvtimers.h"

#include <gtest/gtest.h>

namespace tarvik::app {
namespace {

TEST(UvTimersTest, RepeatingAndSingleShotTimersTickTheirOwnHandler) {
  EventLoop loop;
  UvTimers timers(loop);
  int poll = 0, fetch = 0, display = 0;
  timers.setHandler(TimerId::Timer1, [&] { ++poll; });
  timers.setHandler(TimerId::TIMEMAN, [&] { ++fetch; });
  timers.setHandler(TimerId::Timer2, [&] { ++display; });
  timers.start(TimerId::Timer1, 5, false);
  timers.start(TimerId::TIMEMAN, 5, true);
  EXPECT_TRUE(timers.isActive(TimerId::Timer1));
  EXPECT_TRUE(timers.isActive(TimerId::TIMEMAN));
  EXPECT_FALSE(timers.isActive(TimerId::Timer2));
  ASSERT_TRUE(loop.runUntil([&] { return poll >= 3 && fetch >= 1; }, 5000));
  EXPECT_EQ(fetch, 1);
  EXPECT_FALSE(timers.isActive(TimerId::TIMEMAN)) << "a single-shot timer is done after its tick";
  EXPECT_TRUE(timers.isActive(TimerId::Timer1));
  EXPECT_EQ(display, 0);

  timers.stop(TimerId::Timer1);
  EXPECT_FALSE(timers.isActive(TimerId::Timer1));
  const int stoppedAt = poll;
  // A later timer's tick proves time has passed without the stopped one.
  timers.start(TimerId::Timer2, 30, true);
  ASSERT_TRUE(loop.runUntil([&] { return display == 1; }, 5000));
  EXPECT_EQ(poll, stoppedAt);
}

TEST(UvTimersTest, RestartTakesTheNewInterval) {
  EventLoop loop;
  UvTimers timers(loop);
  int slow = 0, fast = 0;
  timers.setHandler(TimerId::Timer1, [&] { ++slow; });
  timers.setHandler(TimerId::ExchangeWatchdog, [&] { ++fast; });
  timers.start(TimerId::Timer1, 60'000, false);
  timers.start(TimerId::Timer1, 5, true);  // replaces the minute
  ASSERT_TRUE(loop.runUntil([&] { return slow == 1; }, 5000));
  EXPECT_FALSE(timers.isActive(TimerId::Timer1));
  // A handler cleared (as at the core's end) is not called.
  timers.setHandler(TimerId::Timer1, nullptr);
  timers.start(TimerId::Timer1, 1, true);
  timers.start(TimerId::ExchangeWatchdog, 20, true);
  ASSERT_TRUE(loop.runUntil([&] { return fast == 1; }, 5000));
  EXPECT_EQ(slow, 1);
}

}  // namespace
}  // namespace tarvik::app

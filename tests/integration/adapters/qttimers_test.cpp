// QtTimers: each TimerId runs its own handler, single-shot or periodic.

#include "qt/adapters/qttimers.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <map>

namespace tarvik {
namespace {

// Runs the event loop until a 30 ms timer started now has fired. Timers
// fire in the order they fall due, however loaded the machine: a 5 ms timer
// that were still running would have ticked before it.
void waitOutLongerTimer() {
  bool fired = false;
  QTimer::singleShot(30, [&fired] { fired = true; });
  ASSERT_TRUE(QTest::qWaitFor([&fired] { return fired; }, 10000));
}

TEST(QtTimersTest, EachTimerCallsItsOwnHandler) {
  QtTimers timers;
  std::map<TimerId, int> ticks;
  for (TimerId id : {TimerId::Timer1, TimerId::Timer2, TimerId::TIMEMAN, TimerId::ExchangeWatchdog}) {
    timers.setHandler(id, [&ticks, id] { ++ticks[id]; });
  }
  timers.start(TimerId::TIMEMAN, 5, true);
  timers.start(TimerId::Timer2, 5, false);
  EXPECT_TRUE(timers.isActive(TimerId::TIMEMAN));
  EXPECT_TRUE(timers.isActive(TimerId::Timer2));
  EXPECT_FALSE(timers.isActive(TimerId::Timer1));

  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks[TimerId::Timer2] >= 3; }, 5000));
  // The single shot fired once and is over; the periodic one goes on.
  EXPECT_EQ(ticks[TimerId::TIMEMAN], 1);
  EXPECT_FALSE(timers.isActive(TimerId::TIMEMAN));
  EXPECT_TRUE(timers.isActive(TimerId::Timer2));
  EXPECT_EQ(ticks[TimerId::Timer1], 0);
  EXPECT_EQ(ticks[TimerId::ExchangeWatchdog], 0);

  timers.stop(TimerId::Timer2);
  EXPECT_FALSE(timers.isActive(TimerId::Timer2));
  const int stoppedAt = ticks[TimerId::Timer2];
  waitOutLongerTimer();
  EXPECT_EQ(ticks[TimerId::Timer2], stoppedAt);
}

TEST(QtTimersTest, StartRestartsARunningTimer) {
  QtTimers timers;
  int ticks = 0;
  timers.setHandler(TimerId::Timer1, [&] { ++ticks; });
  timers.start(TimerId::Timer1, 10000, false);
  timers.start(TimerId::Timer1, 5, true);  // the new interval and mode count
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks == 1; }, 5000));
  waitOutLongerTimer();
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(timers.isActive(TimerId::Timer1));
}

TEST(QtTimersTest, TimerWithoutHandlerRunsHarmlessly) {
  QtTimers timers;
  timers.start(TimerId::ExchangeWatchdog, 1, true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !timers.isActive(TimerId::ExchangeWatchdog); }, 5000));
}

}  // namespace
}  // namespace tarvik

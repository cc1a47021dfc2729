// QtClock: local wall time and a tick that only moves forward.

#include "qt/adapters/qtclock.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QThread>

namespace tarvik {
namespace {

TEST(QtClockTest, NowIsTheLocalTime) {
  QtClock clock;
  const QDateTime before = QDateTime::currentDateTime();
  const LocalTime t = clock.now();
  const QDateTime after = QDateTime::currentDateTime();
  const QDateTime seen(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
  EXPECT_GE(seen, before.addMSecs(-before.time().msec()));
  EXPECT_LE(seen, after);
}

TEST(QtClockTest, TickCountsMilliseconds) {
  QtClock clock;
  const std::uint32_t first = clock.tickMs();
  QThread::msleep(20);
  const std::uint32_t second = clock.tickMs();
  EXPECT_GE(second - first, 20u);
  EXPECT_LT(second - first, 60000u);
}

}  // namespace
}  // namespace tarvik

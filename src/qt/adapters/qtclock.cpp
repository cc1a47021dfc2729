#include "qt/adapters/qtclock.h"

#include <QDateTime>

namespace tarvik {

QtClock::QtClock() { sinceStart_.start(); }

LocalTime QtClock::now() const {
  const QDateTime t = QDateTime::currentDateTime();
  const QDate d = t.date();
  const QTime h = t.time();
  return {d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second()};
}

// Milliseconds on a monotonic clock, so that setting the wall clock (as
// the program itself may do at start) never makes it jump. It wraps after
// 49 days like the tick the counter was written for.
std::uint32_t QtClock::tickMs() const { return static_cast<std::uint32_t>(sinceStart_.elapsed()); }

}  // namespace tarvik

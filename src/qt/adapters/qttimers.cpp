#include "qt/adapters/qttimers.h"

namespace tarvik {
namespace {
std::size_t index(TimerId id) { return static_cast<std::size_t>(id); }
}  // namespace

QtTimers::QtTimers() {
  for (std::size_t i = 0; i < kCount; ++i) {
    timers_[i].setTimerType(Qt::PreciseTimer);
    QObject::connect(&timers_[i], &QTimer::timeout, [this, i] {
      if (handlers_[i]) handlers_[i]();
    });
  }
}

QtTimers::~QtTimers() {
  for (auto& t : timers_) t.stop();
}

void QtTimers::setHandler(TimerId id, std::function<void()> handler) {
  handlers_[index(id)] = std::move(handler);
}

void QtTimers::start(TimerId id, int intervalMs, bool singleShot) {
  QTimer& t = timers_[index(id)];
  t.setSingleShot(singleShot);
  t.start(intervalMs < 0 ? 0 : intervalMs);  // restarts a running timer
}

void QtTimers::stop(TimerId id) { timers_[index(id)].stop(); }

bool QtTimers::isActive(TimerId id) const { return timers_[index(id)].isActive(); }

}  // namespace tarvik

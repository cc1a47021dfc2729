#include "headless/uvtimers.h"

#include <cstdint>

namespace tarvik::app {

UvTimers::UvTimers(EventLoop& loop) : loop_(loop.uv()) {
  for (Slot*& slot : slots_) {
    slot = new Slot{};
    uv_timer_init(loop_, &slot->timer);
    slot->timer.data = slot;
  }
}

UvTimers::~UvTimers() {
  for (Slot* slot : slots_) closeAndDelete(slot, reinterpret_cast<uv_handle_t*>(&slot->timer));
}

void UvTimers::setHandler(TimerId id, std::function<void()> handler) {
  slots_[static_cast<std::size_t>(id)]->handler = std::move(handler);
}

void UvTimers::start(TimerId id, int intervalMs, bool singleShot) {
  Slot* slot = slots_[static_cast<std::size_t>(id)];
  const auto ms = static_cast<std::uint64_t>(intervalMs < 0 ? 0 : intervalMs);
  // From now, not from when this turn of the loop began: a long handler
  // before this call must not shorten the interval.
  uv_update_time(loop_);
  uv_timer_start(
      &slot->timer,
      [](uv_timer_t* t) {
        Slot* s = static_cast<Slot*>(t->data);
        if (s->handler) s->handler();
      },
      ms, singleShot ? 0 : (ms == 0 ? 1 : ms));
}

void UvTimers::stop(TimerId id) { uv_timer_stop(&slots_[static_cast<std::size_t>(id)]->timer); }

bool UvTimers::isActive(TimerId id) const {
  return uv_is_active(reinterpret_cast<const uv_handle_t*>(&slots_[static_cast<std::size_t>(id)]->timer)) != 0;
}

}  // namespace tarvik::app

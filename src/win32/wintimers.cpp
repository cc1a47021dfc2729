#include "win32/wintimers.h"

namespace tarvik::win32 {

WinTimers::WinTimers(MessageWindow& window) : window_(window) {
  for (Slot& slot : slots_) {
    slot.id = window_.newTimerId();
    window_.setTimerHandler(slot.id, [this, &slot] { tick(slot); });
  }
}

WinTimers::~WinTimers() {
  for (Slot& slot : slots_) {
    ::KillTimer(window_.handle(), slot.id);
    window_.setTimerHandler(slot.id, nullptr);
  }
}

void WinTimers::setHandler(TimerId id, std::function<void()> handler) {
  slots_[static_cast<std::size_t>(id)].handler = std::move(handler);
}

void WinTimers::start(TimerId id, int intervalMs, bool singleShot) {
  Slot& slot = slots_[static_cast<std::size_t>(id)];
  // SetTimer on a running id restarts it, as a QTimer restart does.
  slot.active = ::SetTimer(window_.handle(), slot.id, static_cast<UINT>(intervalMs < 1 ? 1 : intervalMs),
                           nullptr) != 0;
  slot.singleShot = singleShot;
}

void WinTimers::stop(TimerId id) {
  Slot& slot = slots_[static_cast<std::size_t>(id)];
  ::KillTimer(window_.handle(), slot.id);
  slot.active = false;
}

bool WinTimers::isActive(TimerId id) const { return slots_[static_cast<std::size_t>(id)].active; }

void WinTimers::tick(Slot& slot) {
  if (!slot.active) return;  // a tick already queued when the timer stopped
  if (slot.singleShot) {
    ::KillTimer(window_.handle(), slot.id);
    slot.active = false;
  }
  if (slot.handler) slot.handler();
}

}  // namespace tarvik::win32

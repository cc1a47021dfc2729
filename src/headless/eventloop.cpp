#include "headless/eventloop.h"

#include <chrono>

namespace tarvik::app {

EventLoop::EventLoop() {
  uv_loop_init(&loop_);
  uv_idle_init(&loop_, &idle_);
  idle_.data = this;
}

EventLoop::~EventLoop() {
  posted_.clear();
  uv_close(reinterpret_cast<uv_handle_t*>(&idle_), nullptr);
  // The adapters closed their handles when they went; their close
  // callbacks (which free them) run here.
  uv_run(&loop_, UV_RUN_NOWAIT);
  uv_walk(
      &loop_,
      [](uv_handle_t* h, void*) {
        if (!uv_is_closing(h)) uv_close(h, nullptr);
      },
      nullptr);
  uv_run(&loop_, UV_RUN_DEFAULT);
  uv_loop_close(&loop_);
}

void EventLoop::post(std::function<void()> call) {
  posted_.push_back(std::move(call));
  if (!uv_is_active(reinterpret_cast<uv_handle_t*>(&idle_))) uv_idle_start(&idle_, &EventLoop::onIdle);
}

void EventLoop::onIdle(uv_idle_t* idle) { static_cast<EventLoop*>(idle->data)->runPosted(); }

void EventLoop::runPosted() {
  // Only what was queued before this turn: a call that posts again runs at
  // the next turn, after the loop has looked at its sockets and timers.
  std::size_t n = posted_.size();
  while (n-- > 0 && !posted_.empty()) {
    std::function<void()> call = std::move(posted_.front());
    posted_.pop_front();
    call();
  }
  if (posted_.empty()) uv_idle_stop(&idle_);
}

void EventLoop::run() {
  // A loop with nothing left that could wake it (no timer, socket, signal
  // or queued call) would sleep for ever: it ends instead.
  while (!stopped_) {
    if (uv_run(&loop_, UV_RUN_ONCE) == 0 && !stopped_) break;
  }
}

bool EventLoop::runUntil(const std::function<bool()>& pred, int timeoutMs) {
  // A timer bounds each turn, so a test never hangs on a quiet loop.
  uv_timer_t tick;
  uv_timer_init(&loop_, &tick);
  uv_timer_start(&tick, [](uv_timer_t*) {}, 10, 10);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred() && std::chrono::steady_clock::now() < deadline) uv_run(&loop_, UV_RUN_ONCE);
  uv_close(reinterpret_cast<uv_handle_t*>(&tick), nullptr);
  uv_run(&loop_, UV_RUN_NOWAIT);
  return pred();
}

void EventLoop::stop() {
  stopped_ = true;
  uv_stop(&loop_);
}

}  // namespace tarvik::app

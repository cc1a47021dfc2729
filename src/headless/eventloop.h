#pragma once
// The headless program's event loop: one libuv loop on the calling thread.
// Everything the program does runs from here, one callback at a time.
//
// post() queues a call for the loop's next turn: answers that must not run
// inside the caller's own call (a prompter's reply, a transport's failure)
// go through it. Posting costs no system call: an idle handle keeps the
// loop from sleeping while calls are queued.

#include <uv.h>

#include <deque>
#include <functional>

namespace tarvik::app {

class EventLoop {
 public:
  EventLoop();
  // Runs the loop until every handle the adapters closed is released.
  ~EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  uv_loop_t* uv() { return &loop_; }

  void post(std::function<void()> call);
  // Runs until stop(); returns at once when stop() came first.
  void run();
  // Runs until pred() holds or timeoutMs have passed (for tests); returns pred().
  bool runUntil(const std::function<bool()>& pred, int timeoutMs);
  void stop();

 private:
  static void onIdle(uv_idle_t* idle);
  void runPosted();

  uv_loop_t loop_{};
  uv_idle_t idle_{};
  std::deque<std::function<void()>> posted_;
  bool stopped_ = false;
};

// Closes a handle allocated with new and deletes it once libuv lets go of
// it. T is the struct that holds the handle as its first member.
template <typename T>
void closeAndDelete(T* owner, uv_handle_t* handle) {
  handle->data = owner;
  if (uv_is_closing(handle)) return;
  uv_close(handle, [](uv_handle_t* h) { delete static_cast<T*>(h->data); });
}

}  // namespace tarvik::app

#pragma once
// A message-only window: the place where socket events (WSAAsyncSelect),
// timer ticks (SetTimer) and work posted from other threads arrive on the
// thread's message loop, one at a time.

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace tarvik::win32 {

class MessageWindow {
 public:
  using Handler = std::function<void(WPARAM, LPARAM)>;
  using Task = std::function<void()>;

  // Work for the window's thread from any thread. A poster may outlive the
  // window: what it posts after the window has gone is dropped.
  class Mailbox {
   public:
    void post(Task task);

   private:
    friend class MessageWindow;
    std::mutex mutex_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::deque<Task> tasks_;
  };

  MessageWindow();
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND handle() const { return hwnd_; }

  // A message number of its own (WM_APP and up) whose arrivals run handler.
  UINT addMessage(Handler handler);
  // Runs handler for every WM_TIMER with this timer id.
  void setTimerHandler(UINT_PTR id, std::function<void()> handler);
  // A timer id not used by anyone else on this window.
  UINT_PTR newTimerId() { return nextTimerId_++; }

  void post(Task task) { mailbox_->post(std::move(task)); }
  std::shared_ptr<Mailbox> mailbox() const { return mailbox_; }

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void runPosted();

  HWND hwnd_ = nullptr;
  std::shared_ptr<Mailbox> mailbox_;
  std::map<UINT, Handler> handlers_;
  std::map<UINT_PTR, std::function<void()>> timerHandlers_;
  UINT nextMessage_ = WM_APP + 1;
  UINT_PTR nextTimerId_ = 1;
};

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int runMessageLoop();

}  // namespace tarvik::win32

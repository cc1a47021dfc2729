#pragma once
// Ctrl-C, Ctrl-Break and the closing of the console (or the end of the
// session) end the program cleanly: the request is posted to the message
// loop, and for a closing console the system's handler thread waits until
// the loop has finished its clean-up, because the system ends the process
// as soon as that thread returns.

#include <windows.h>

#include <functional>
#include <memory>

#include "win32/messagewindow.h"

namespace tarvik::win32 {

class ConsoleControl {
 public:
  ConsoleControl(MessageWindow& window, std::function<void()> onEnd);
  ~ConsoleControl();
  ConsoleControl(const ConsoleControl&) = delete;
  ConsoleControl& operator=(const ConsoleControl&) = delete;

  // The loop has ended and the output is flushed.
  void finished();

 private:
  static BOOL WINAPI handler(DWORD type);

  std::shared_ptr<MessageWindow::Mailbox> mailbox_;
  std::function<void()> onEnd_;
  HANDLE done_ = nullptr;
};

}  // namespace tarvik::win32

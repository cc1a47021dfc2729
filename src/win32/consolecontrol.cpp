#include "win32/consolecontrol.h"

#include <atomic>

namespace tarvik::win32 {
namespace {

// The system calls the handler without a context, so the one instance is
// found here; it is set only while that instance lives.
std::atomic<ConsoleControl*>& current() {
  static std::atomic<ConsoleControl*> instance{nullptr};
  return instance;
}

// The system gives a closing console about 5 seconds.
constexpr DWORD kCloseWaitMs = 4000;

}  // namespace

ConsoleControl::ConsoleControl(MessageWindow& window, std::function<void()> onEnd)
    : mailbox_(window.mailbox()), onEnd_(std::move(onEnd)), done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  current() = this;
  ::SetConsoleCtrlHandler(&ConsoleControl::handler, TRUE);
}

ConsoleControl::~ConsoleControl() {
  ::SetConsoleCtrlHandler(&ConsoleControl::handler, FALSE);
  current() = nullptr;
  finished();
  if (done_) ::CloseHandle(done_);
}

void ConsoleControl::finished() {
  if (done_) ::SetEvent(done_);
}

BOOL WINAPI ConsoleControl::handler(DWORD type) {
  ConsoleControl* self = current();
  if (!self) return FALSE;
  self->mailbox_->post(self->onEnd_);
  switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      return TRUE;
    default:  // close, logoff, shutdown: the process ends when this returns
      ::WaitForSingleObject(self->done_, kCloseWaitMs);
      return TRUE;
  }
}

}  // namespace tarvik::win32

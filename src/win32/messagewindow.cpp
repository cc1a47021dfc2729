#include "win32/messagewindow.h"

#include <stdexcept>

namespace tarvik::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TarvikMessageWindow";

void registerClassOnce(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  // A second registration fails with "class already exists": that is fine.
  ::RegisterClassExW(&wc);
}

}  // namespace

void MessageWindow::Mailbox::post(Task task) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!window_) return;
  const bool wake = tasks_.empty();
  tasks_.push_back(std::move(task));
  if (wake) ::PostMessageW(window_, message_, 0, 0);
}

MessageWindow::MessageWindow() : mailbox_(std::make_shared<Mailbox>()) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  registerClassOnce(instance);
  hwnd_ = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!hwnd_) throw std::runtime_error("cannot create the message window");
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageWindow::procedure));
  const UINT posted = addMessage([this](WPARAM, LPARAM) { runPosted(); });
  std::lock_guard<std::mutex> lock(mailbox_->mutex_);
  mailbox_->window_ = hwnd_;
  mailbox_->message_ = posted;
}

MessageWindow::~MessageWindow() {
  {
    std::lock_guard<std::mutex> lock(mailbox_->mutex_);
    mailbox_->window_ = nullptr;
    mailbox_->tasks_.clear();
  }
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  ::DestroyWindow(hwnd_);
}

UINT MessageWindow::addMessage(Handler handler) {
  const UINT message = nextMessage_++;
  handlers_[message] = std::move(handler);
  return message;
}

void MessageWindow::setTimerHandler(UINT_PTR id, std::function<void()> handler) {
  if (handler) {
    timerHandlers_[id] = std::move(handler);
  } else {
    timerHandlers_.erase(id);
  }
}

void MessageWindow::runPosted() {
  // Tasks posted while these run wake the window again.
  std::deque<Task> tasks;
  {
    std::lock_guard<std::mutex> lock(mailbox_->mutex_);
    tasks.swap(mailbox_->tasks_);
  }
  for (Task& task : tasks) task();
}

LRESULT CALLBACK MessageWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MessageWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    if (message == WM_TIMER) {
      auto it = self->timerHandlers_.find(wParam);
      if (it != self->timerHandlers_.end()) {
        std::function<void()> handler = it->second;  // the handler may replace itself
        handler();
      }
      return 0;
    }
    auto it = self->handlers_.find(message);
    if (it != self->handlers_.end()) {
      it->second(wParam, lParam);
      return 0;
    }
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

int runMessageLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace tarvik::win32

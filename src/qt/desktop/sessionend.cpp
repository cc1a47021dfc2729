#include "qt/desktop/sessionend.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>

namespace tarvik {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler can reach nothing but plain data: the pipe's write end.
// One watcher per process.
int signalPipe[2] = {-1, -1};

void onSignal(int sig) {
  const int saved = errno;
  const unsigned char b = static_cast<unsigned char>(sig);
  // Async-signal-safe; a full pipe only means an end is already pending.
  [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &b, 1);
  errno = saved;
}

void setHandler(void (*handler)(int)) {
  struct sigaction sa = {};
  sa.sa_handler = handler;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : kSignals) ::sigaction(sig, &sa, nullptr);
}

}  // namespace

SessionEndWatcher::SessionEndWatcher(std::function<void()> onEnd, QObject* parent)
    : QObject(parent), onEnd_(std::move(onEnd)) {
  if (signalPipe[0] == -1 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEndWatcher::readSignal);
    setHandler(onSignal);
  }
  // The session manager asks for the program's data before the session
  // ends; a logout must not wait on a question, so the program saves and
  // ends right here.
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { end(); });
  }
}

SessionEndWatcher::~SessionEndWatcher() {
  if (!notifier_) return;
  setHandler(SIG_DFL);
  ::close(signalPipe[0]);
  ::close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
}

void SessionEndWatcher::readSignal() {
  unsigned char b = 0;
  bool any = false;
  while (::read(signalPipe[0], &b, 1) == 1) any = true;
  if (any) end();
}

void SessionEndWatcher::end() {
  if (ended_) return;
  ended_ = true;
  if (onEnd_) onEnd_();
}

}  // namespace tarvik

#include "signalwatcher.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace tarvik::app {
namespace {

// One process, one watcher: the handler needs the pipe as a plain int.
int g_pipe[2] = {-1, -1};

void onSignal(int sig) {
  int saved = errno;
  unsigned char b = static_cast<unsigned char>(sig);
  // Async-signal-safe; a full pipe only means a quit is already pending.
  [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &b, 1);
  errno = saved;
}

}  // namespace

SignalWatcher::SignalWatcher(std::function<void(int)> callback, QObject* parent)
    : QObject(parent), onSignal_(std::move(callback)) {
  if (g_pipe[0] != -1 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction sa = {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &sa, nullptr);
  ::sigaction(SIGTERM, &sa, nullptr);
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalWatcher::readSignal);
}

SignalWatcher::~SignalWatcher() {
  if (!notifier_) return;
  struct sigaction sa = {};
  sa.sa_handler = SIG_DFL;
  sigemptyset(&sa.sa_mask);
  ::sigaction(SIGINT, &sa, nullptr);
  ::sigaction(SIGTERM, &sa, nullptr);
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void SignalWatcher::readSignal() {
  unsigned char b = 0;
  int last = 0;
  while (::read(g_pipe[0], &b, 1) == 1) last = b;
  if (last != 0 && onSignal_) onSignal_(last);
}

}  // namespace tarvik::app

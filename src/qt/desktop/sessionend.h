#pragma once
// Everything that ends the desktop session under the program's feet, turned
// into one call on the event loop: SIGTERM, SIGINT and SIGHUP (through a
// pipe that the signal handler writes one byte into, read by a
// QSocketNotifier) and the session manager's request to save before the
// session ends. The program answers them as the platform's end-of-session
// message: save what a close saves, ask nothing, end.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace tarvik {

class SessionEndWatcher : public QObject {
  Q_OBJECT
 public:
  // onEnd runs on the event loop, at most once.
  explicit SessionEndWatcher(std::function<void()> onEnd, QObject* parent = nullptr);
  ~SessionEndWatcher() override;
  SessionEndWatcher(const SessionEndWatcher&) = delete;
  SessionEndWatcher& operator=(const SessionEndWatcher&) = delete;

 private:
  void readSignal();
  void end();

  std::function<void()> onEnd_;
  QSocketNotifier* notifier_ = nullptr;
  bool ended_ = false;
};

}  // namespace tarvik

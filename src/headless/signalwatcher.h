#pragma once
// Turns SIGINT and SIGTERM into a call on the event loop: the handler only
// writes one byte into a pipe, and a QSocketNotifier on the other end runs
// the callback with the loop's usual one-at-a-time guarantee.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace tarvik::app {

class SignalWatcher : public QObject {
  Q_OBJECT
 public:
  explicit SignalWatcher(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
  ~SignalWatcher() override;

  bool ok() const { return notifier_ != nullptr; }

 private:
  void readSignal();

  std::function<void(int)> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tarvik::app

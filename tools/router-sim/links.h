#pragma once
// Where a console session's bytes travel: a TCP connection, or standard
// input and output (when a telnet server runs the simulator as its login
// program).

#include <termios.h>

#include <QByteArray>
#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;
class QTcpSocket;

namespace sim {

class Link {
 public:
  virtual ~Link() = default;
  virtual void send(const QByteArray& bytes) = 0;
  // Sends what is pending, then closes.
  virtual void finish() = 0;

  std::function<void(const QByteArray&)> onData;
  std::function<void()> onClosed;  // the peer went away or finish() completed
};

class TcpLink : public QObject, public Link {
 public:
  // Takes the socket over (it becomes this link's child).
  explicit TcpLink(QTcpSocket* socket);
  void send(const QByteArray& bytes) override;
  void finish() override;

 private:
  QTcpSocket* socket_;
};

class StdioLink : public QObject, public Link {
 public:
  StdioLink();
  ~StdioLink() override;
  void send(const QByteArray& bytes) override;
  void finish() override;

 private:
  QSocketNotifier* notifier_;
  bool rawTerminal_ = false;
  termios savedTerminal_{};
};

}  // namespace sim

#include "links.h"

#include <unistd.h>

#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>
#include <cerrno>

namespace sim {

TcpLink::TcpLink(QTcpSocket* socket) : socket_(socket) {
  socket_->setParent(this);
  // Small writes must leave at once, so that split and drip really arrive
  // in pieces.
  socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  QObject::connect(socket_, &QTcpSocket::readyRead, this, [this] {
    if (onData) onData(socket_->readAll());
  });
  QObject::connect(socket_, &QTcpSocket::disconnected, this, [this] {
    if (onClosed) onClosed();
  });
}

void TcpLink::send(const QByteArray& bytes) {
  if (socket_->state() == QAbstractSocket::ConnectedState) socket_->write(bytes);
}

void TcpLink::finish() {
  if (socket_->state() == QAbstractSocket::UnconnectedState) {
    // Already gone; report it from the event loop like a normal close.
    QTimer::singleShot(0, this, [this] {
      if (onClosed) onClosed();
    });
    return;
  }
  socket_->disconnectFromHost();
}

StdioLink::StdioLink() {
  // Behind a telnet server stdin is a terminal: without raw mode the line
  // discipline would echo the input and turn CR into LF and LF into CR LF.
  if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &savedTerminal_) == 0) {
    termios raw = savedTerminal_;
    cfmakeraw(&raw);
    rawTerminal_ = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
  }
  notifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
  QObject::connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n > 0) {
      if (onData) onData(QByteArray(buffer, static_cast<int>(n)));
      return;
    }
    if (n < 0 && errno == EINTR) return;
    notifier_->setEnabled(false);
    if (onClosed) onClosed();
  });
}

StdioLink::~StdioLink() {
  if (rawTerminal_) tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal_);
}

void StdioLink::send(const QByteArray& bytes) {
  const char* p = bytes.constData();
  std::size_t left = static_cast<std::size_t>(bytes.size());
  while (left > 0) {
    const ssize_t n = ::write(STDOUT_FILENO, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the reader went away; the session ends on its own
    p += n;
    left -= static_cast<std::size_t>(n);
  }
}

void StdioLink::finish() {
  if (isatty(STDOUT_FILENO)) tcdrain(STDOUT_FILENO);
  notifier_->setEnabled(false);
  QTimer::singleShot(0, this, [this] {
    if (onClosed) onClosed();
  });
}

}  // namespace sim

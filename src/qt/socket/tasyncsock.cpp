#include "qt/socket/tasyncsock.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QMetaObject>
#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>
#include <QtDebug>
#include <algorithm>
#include <exception>
#include <utility>

#include "engine/net/ecommerror.h"

namespace tarvik {
namespace {

// LastError keeps the Windows Sockets codes the program has always shown.
int socketErrorCode(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      return 10061;  // WSAECONNREFUSED
    case QAbstractSocket::RemoteHostClosedError:
      return 10054;  // WSAECONNRESET
    case QAbstractSocket::HostNotFoundError:
      return 11001;  // WSAHOST_NOT_FOUND
    case QAbstractSocket::SocketAccessError:
      return 10013;  // WSAEACCES
    case QAbstractSocket::SocketResourceError:
      return 10024;  // WSAEMFILE
    case QAbstractSocket::SocketTimeoutError:
      return 10060;  // WSAETIMEDOUT
    case QAbstractSocket::NetworkError:
      return 10051;  // WSAENETUNREACH
    case QAbstractSocket::AddressInUseError:
      return 10048;  // WSAEADDRINUSE
    case QAbstractSocket::SocketAddressNotAvailableError:
      return 10049;  // WSAEADDRNOTAVAIL
    case QAbstractSocket::UnsupportedSocketOperationError:
      return 10045;  // WSAEOPNOTSUPP
    default:
      return 10022;  // WSAEINVAL
  }
}

constexpr const char* kNoAddress = "255.255.255.255";

QString firstIPv4(const QList<QHostAddress>& addresses) {
  for (const QHostAddress& a : addresses) {
    if (a.protocol() == QAbstractSocket::IPv4Protocol) return a.toString();
  }
  return addresses.isEmpty() ? QString() : addresses.first().toString();
}

}  // namespace

TAsyncSock::TAsyncSock(QObject* parent) : QObject(parent), ipAddr_(QString::fromLatin1(kNoAddress)) {
  selfName_ = QHostInfo::localHostName();
  QList<QHostAddress> own;
  for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
    if (!a.isLoopback()) own.append(a);
  }
  selfIPAddr_ = firstIPv4(own);
  if (selfIPAddr_.isEmpty()) selfIPAddr_ = QStringLiteral("127.0.0.1");
}

TAsyncSock::~TAsyncSock() {
  if (lookupId_ != -1) QHostInfo::abortHostLookup(lookupId_);
  // The sockets are our children and die after us: they must not call
  // back into a half-destroyed component.
  for (auto& [s, c] : connections_) {
    if (c.socket) c.socket->disconnect(this);
  }
}

void TAsyncSock::setHost(const QString& host) {
  // The core names the host before every exchange: the same text keeps the
  // address found for it, or the look-up still under way. Only a name that
  // could not be found is looked up again, once for this exchange.
  if (host == host_ && (ipResolved_ || lookupId_ != -1)) return;
  host_ = host;
  if (lookupId_ != -1) {
    QHostInfo::abortHostLookup(lookupId_);
    lookupId_ = -1;
  }
  const QString name = host.trimmed();
  QHostAddress address;
  if (address.setAddress(name)) {
    ipAddr_ = address.toString();
    ipResolved_ = true;
    return;
  }
  ipAddr_ = QString::fromLatin1(kNoAddress);
  ipResolved_ = false;
  if (name.isEmpty()) return;
  // Looked up in the background so that the GUI never waits for the name
  // service; an Open before the answer lets the socket look it up itself.
  ++lookupsStarted_;
  lookupId_ = QHostInfo::lookupHost(name, this, [this, host](const QHostInfo& info) {
    if (host != host_) return;
    lookupId_ = -1;
    QString found = firstIPv4(info.addresses());
    if (info.error() == QHostInfo::NoError && !found.isEmpty()) {
      ipAddr_ = found;
      ipResolved_ = true;
    }
  });
}

TAsyncSock::Socket TAsyncSock::Open(bool reuse) {
  if (reuse && current_ != kNone) {
    auto it = connections_.find(current_);
    if (it != connections_.end() && !it->second.ended) {
      ++reuseCount_;
      return current_;
    }
  }
  lastError_ = 0;
  errorMsg_.clear();

  const Socket s = nextSocket_++;
  auto* socket = new QTcpSocket(this);
  socket->setProxy(QNetworkProxy::NoProxy);
  Connection& c = connections_[s];
  c.socket = socket;

  connect(socket, &QAbstractSocket::connected, this, [this, s] {
    auto it = connections_.find(s);
    if (it == connections_.end() || it->second.ended) return;
    Connection& conn = it->second;
    conn.connected = true;
    if (conn.connectTimer) conn.connectTimer->stop();
    selfPort_ = conn.socket->localPort();
    // A socket opened by name before the background look-up answered has
    // found the address itself: keep it for the next exchanges.
    if (!ipResolved_ && conn.host == host_) {
      if (lookupId_ != -1) QHostInfo::abortHostLookup(std::exchange(lookupId_, -1));
      ipAddr_ = conn.socket->peerAddress().toString();
      ipResolved_ = true;
    }
    post({EventKind::Connect, s});
  });
  connect(socket, &QIODevice::readyRead, this, [this, s] { onReadyRead(s); });
  connect(socket, &QAbstractSocket::stateChanged, this, [this, s](QAbstractSocket::SocketState state) {
    if (state == QAbstractSocket::UnconnectedState) onStateChanged(s);
  });
  if (timeOut_ > 0) {
    c.connectTimer = new QTimer(socket);
    c.connectTimer->setSingleShot(true);
    connect(c.connectTimer, &QTimer::timeout, this, [this, s] {
      fail(s, socketErrorCode(QAbstractSocket::SocketTimeoutError), QStringLiteral("Connection timed out"));
    });
    c.connectTimer->start(timeOut_ * 100);
  }

  // Qt may report an immediate failure from inside connectToHost; it is
  // queued like any other event, except when no socket could be had at all.
  opening_ = s;
  openFailedNoSocket_ = false;
  const quint16 port = static_cast<quint16>(port_ & 0xFFFF);
  if (ipResolved_) {
    socket->connectToHost(QHostAddress(ipAddr_), port);
  } else {
    c.host = host_;
    socket->connectToHost(host_.trimmed(), port);
  }
  opening_ = kNone;
  if (openFailedNoSocket_) throw ECommError(CommFailure::NoSocket, errorMsg_.toStdString());
  current_ = s;
  return s;
}

qint64 TAsyncSock::Send(Socket s, const char* data, qint64 length) {
  auto it = connections_.find(s);
  if (it == connections_.end() || !it->second.connected || it->second.ended ||
      it->second.socket->state() != QAbstractSocket::ConnectedState) {
    lastError_ = 10057;  // WSAENOTCONN
    errorMsg_ = QStringLiteral("Socket is not connected");
    throw ECommError(CommFailure::Send, errorMsg_.toStdString());
  }
  if (length <= 0) return 0;
  // QTcpSocket buffers whatever the kernel does not take now and writes
  // the rest as the connection drains: the whole text goes out, and the
  // caller never waits.
  qint64 written = it->second.socket->write(data, length);
  if (written != length) {
    lastError_ = socketErrorCode(it->second.socket->error());
    errorMsg_ = it->second.socket->errorString();
    throw ECommError(CommFailure::Send, errorMsg_.toStdString());
  }
  return written;
}

qint64 TAsyncSock::SendText(Socket s, const QByteArray& text) {
  return Send(s, text.constData(), text.size());
}

QByteArray TAsyncSock::Receive(Socket s, qint64 maxSize) {
  auto it = connections_.find(s);
  if (it == connections_.end()) {
    lastError_ = 10038;  // WSAENOTSOCK
    errorMsg_ = QStringLiteral("Socket is not open");
    throw ECommError(CommFailure::Recv, errorMsg_.toStdString());
  }
  QByteArray& inbox = it->second.inbox;
  if (maxSize <= 0) return {};
  if (maxSize >= inbox.size()) return std::exchange(inbox, QByteArray());
  QByteArray head = inbox.left(maxSize);
  inbox.remove(0, maxSize);
  return head;
}

void TAsyncSock::Close(Socket s) {
  auto it = connections_.find(s);
  if (it != connections_.end()) {
    release(it->second);
    connections_.erase(it);
  }
  std::erase_if(queue_, [s](const Event& e) { return e.socket == s; });
  if (s == current_) current_ = kNone;
}

void TAsyncSock::onReadyRead(Socket s) {
  auto it = connections_.find(s);
  if (it == connections_.end() || !it->second.socket) return;
  Connection& c = it->second;
  c.inbox += c.socket->readAll();
  if (!c.receivePosted && !c.inbox.isEmpty()) {
    c.receivePosted = true;
    post({EventKind::Receive, s});
  }
}

void TAsyncSock::onStateChanged(Socket s) {
  auto it = connections_.find(s);
  if (it == connections_.end() || it->second.ended) return;
  Connection& c = it->second;
  QTcpSocket* socket = c.socket;
  if (!c.connected) {
    fail(s, socketErrorCode(socket->error()), socket->errorString());
    return;
  }
  // The peer closed (or the connection broke). Keep what arrived last.
  c.ended = true;
  c.inbox += socket->readAll();
  Event event(EventKind::Close, s);
  if (socket->error() != QAbstractSocket::RemoteHostClosedError &&
      socket->error() != QAbstractSocket::UnknownSocketError) {
    event.error = socketErrorCode(socket->error());
    event.message = socket->errorString();
  }
  post(std::move(event));
}

void TAsyncSock::fail(Socket s, int error, const QString& message) {
  auto it = connections_.find(s);
  if (it == connections_.end() || it->second.ended) return;
  const bool noSocket = s == opening_ && error == socketErrorCode(QAbstractSocket::SocketResourceError);
  release(it->second);
  connections_.erase(it);
  if (noSocket) {
    lastError_ = error;
    errorMsg_ = message;
    openFailedNoSocket_ = true;
    return;
  }
  post({EventKind::Close, s, error, message, true});
}

void TAsyncSock::release(Connection& c) {
  c.ended = true;
  if (!c.socket) return;
  QTcpSocket* socket = std::exchange(c.socket, nullptr);
  socket->disconnect(this);
  if (c.connectTimer) c.connectTimer->stop();
  if (socket->state() != QAbstractSocket::UnconnectedState) socket->abort();
  socket->close();
  socket->deleteLater();
}

void TAsyncSock::post(Event event) {
  queue_.push_back(std::move(event));
  if (!drainScheduled_) {
    drainScheduled_ = true;
    QMetaObject::invokeMethod(this, &TAsyncSock::drain, Qt::QueuedConnection);
  }
}

void TAsyncSock::drain() {
  drainScheduled_ = false;
  // A handler that runs a nested event loop does not get a second event
  // in the middle of the first: the outer drain goes on after it returns.
  if (delivering_) return;
  delivering_ = true;
  while (!queue_.empty()) {
    Event event = std::move(queue_.front());
    queue_.pop_front();
    try {
      deliver(event);
    } catch (const std::exception& e) {
      qWarning("TAsyncSock: event handler failed: %s", e.what());
    } catch (...) {
      qWarning("TAsyncSock: event handler failed");
    }
  }
  delivering_ = false;
}

void TAsyncSock::deliver(const Event& event) {
  const Socket s = event.socket;
  switch (event.kind) {
    case EventKind::Connect:
      if (connections_.count(s)) emit OnConnect(s);
      break;
    case EventKind::Receive: {
      auto it = connections_.find(s);
      if (it == connections_.end()) break;
      it->second.receivePosted = false;
      if (it->second.inbox.isEmpty()) break;
      emit OnReceive(s);
      // Whatever the handler left unread gets a notification of its own.
      it = connections_.find(s);
      if (it != connections_.end() && !it->second.inbox.isEmpty() && !it->second.receivePosted) {
        it->second.receivePosted = true;
        post({EventKind::Receive, s});
      }
      break;
    }
    case EventKind::Close: {
      // Bytes that came before the close are handed over first.
      auto it = connections_.find(s);
      while (it != connections_.end() && !it->second.inbox.isEmpty()) {
        const qint64 before = it->second.inbox.size();
        emit OnReceive(s);
        it = connections_.find(s);
        if (it != connections_.end() && it->second.inbox.size() == before) break;  // handler does not read
      }
      if (it == connections_.end() && !event.connectFailed) break;  // the owner closed it meanwhile
      std::erase_if(queue_, [s](const Event& e) { return e.socket == s; });
      if (event.error != 0) {
        lastError_ = event.error;
        errorMsg_ = event.message;
      }
      emit OnClose(s);
      // The component holds nothing for a connection that has ended.
      it = connections_.find(s);
      if (it != connections_.end()) {
        release(it->second);
        connections_.erase(it);
      }
      break;
    }
  }
}

}  // namespace tarvik

#include "posixtransport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <unistd.h>

#include <QHostAddress>
#include <QHostInfo>
#include <QMetaObject>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include "base/bytes.h"
#include "socket/ecommerror.h"

namespace tarvik::app {

namespace {

// Bytes taken from a socket in one notification at most, so one chatty
// connection cannot hold the event loop.
constexpr std::size_t kReadPerNotification = 1 << 20;
constexpr std::size_t kReadChunk = 16384;

std::string systemText(int error) { return std::strerror(error); }

}  // namespace

// A read and a write notifier for whichever socket uses them now.
struct PosixTransport::Notifiers {
  QSocketNotifier read{QSocketNotifier::Read};
  QSocketNotifier write{QSocketNotifier::Write};
  SocketId socket = kNoSocket;
};

struct PosixTransport::Socket {
  int fd = -1;
  bool connected = false;
  bool waitingForLookup = false;
  std::string pendingOut;  // what the kernel did not take yet
  Notifiers* notifiers = nullptr;
};

PosixTransport::Notifiers* PosixTransport::takeNotifiers(SocketId id, int fd) {
  if (freeNotifiers_.empty()) {
    auto n = std::make_unique<Notifiers>();
    Notifiers* raw = n.get();
    QObject::connect(&raw->read, &QSocketNotifier::activated, context_.get(), [this, raw] { onReadable(raw->socket); });
    QObject::connect(&raw->write, &QSocketNotifier::activated, context_.get(), [this, raw] { onWritable(raw->socket); });
    notifiers_.push_back(std::move(n));
    freeNotifiers_.push_back(raw);
  }
  Notifiers* n = freeNotifiers_.back();
  freeNotifiers_.pop_back();
  n->socket = id;
  n->read.setSocket(fd);
  n->write.setSocket(fd);
  return n;
}

PosixTransport::PosixTransport(TransportEvents events)
    : events_(std::move(events)), context_(std::make_unique<QObject>()) {}

PosixTransport::~PosixTransport() {
  for (auto& [id, s] : sockets_) {
    if (s->fd >= 0) ::close(s->fd);
  }
  for (auto& n : notifiers_) {
    n->read.setEnabled(false);
    n->write.setEnabled(false);
  }
  if (lookupId_ != -1) QHostInfo::abortHostLookup(lookupId_);
}

PosixTransport::Socket* PosixTransport::find(SocketId id) {
  auto it = sockets_.find(id);
  return it == sockets_.end() ? nullptr : it->second.get();
}

void PosixTransport::setHost(const std::string& host) {
  // Every exchange sets the host again; only a new one (or one whose
  // lookup failed) costs anything.
  if (host == host_ && lookup_ != Lookup::Failed) return;
  host_ = host;
  if (lookupId_ != -1) {
    QHostInfo::abortHostLookup(lookupId_);
    lookupId_ = -1;
  }
  const std::string name(trimBlanks(host));
  address_ = {};
  auto* v4 = reinterpret_cast<sockaddr_in*>(&address_);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&address_);
  if (::inet_pton(AF_INET, name.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    addressLength_ = sizeof(sockaddr_in);
    lookup_ = Lookup::Done;
    return;
  }
  if (::inet_pton(AF_INET6, name.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    addressLength_ = sizeof(sockaddr_in6);
    lookup_ = Lookup::Done;
    return;
  }
  if (name.empty()) {
    lookup_ = Lookup::Failed;
    return;
  }
  lookup_ = Lookup::Pending;
  lookupId_ = QHostInfo::lookupHost(QString::fromStdString(name), context_.get(), [this, host](const QHostInfo& info) {
    if (host != host_) return;
    lookupId_ = -1;
    const QList<QHostAddress> found = info.addresses();
    const QHostAddress* pick = nullptr;
    for (const QHostAddress& a : found) {
      if (a.protocol() == QAbstractSocket::IPv4Protocol) {
        pick = &a;
        break;
      }
    }
    if (!pick && !found.isEmpty()) pick = &found.first();
    sockaddr_storage address{};
    socklen_t length = 0;
    if (pick && pick->protocol() == QAbstractSocket::IPv4Protocol) {
      auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
      v4->sin_family = AF_INET;
      v4->sin_addr.s_addr = htonl(pick->toIPv4Address());
      length = sizeof(sockaddr_in);
    } else if (pick) {
      auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
      v6->sin6_family = AF_INET6;
      Q_IPV6ADDR raw = pick->toIPv6Address();
      std::memcpy(&v6->sin6_addr, raw.c, sizeof raw.c);
      length = sizeof(sockaddr_in6);
    }
    lookupFinished(host, length != 0, address, length);
  });
}

void PosixTransport::lookupFinished(const std::string& host, bool ok, const sockaddr_storage& address,
                                    socklen_t length) {
  if (host != host_) return;
  lookup_ = ok ? Lookup::Done : Lookup::Failed;
  if (ok) {
    address_ = address;
    addressLength_ = length;
  }
  std::vector<SocketId> waiting;
  for (auto& [id, s] : sockets_) {
    if (s->waitingForLookup) waiting.push_back(id);
  }
  for (SocketId id : waiting) {
    Socket* s = find(id);
    if (!s) continue;  // closed by an earlier event's handler
    s->waitingForLookup = false;
    if (ok) startConnect(id);
    else fail(id, EHOSTUNREACH);
  }
}

void PosixTransport::setPort(int port) { port_ = port; }

SocketId PosixTransport::open() {
  const SocketId id = next_++;
  sockets_[id] = std::make_unique<Socket>();
  if (lookup_ == Lookup::Pending) {
    sockets_[id]->waitingForLookup = true;
    return id;
  }
  if (lookup_ != Lookup::Done) {
    // Reported from the event loop, like every other outcome.
    QMetaObject::invokeMethod(context_.get(), [this, id] { fail(id, EHOSTUNREACH); }, Qt::QueuedConnection);
    return id;
  }
  startConnect(id);
  if (find(id) == nullptr) return kNoSocket;  // no socket could be had
  return id;
}

void PosixTransport::startConnect(SocketId id) {
  Socket* s = find(id);
  const auto* family = reinterpret_cast<const sockaddr*>(&address_);
  s->fd = ::socket(family->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (s->fd < 0) {
    errorText_ = std::string(commFailurePrefix(CommFailure::NoSocket)) + systemText(errno);
    sockets_.erase(id);
    return;
  }
  sockaddr_storage target = address_;
  const auto port = htons(static_cast<uint16_t>(port_ & 0xFFFF));
  if (family->sa_family == AF_INET) reinterpret_cast<sockaddr_in*>(&target)->sin_port = port;
  else reinterpret_cast<sockaddr_in6*>(&target)->sin6_port = port;
  if (::connect(s->fd, reinterpret_cast<const sockaddr*>(&target), addressLength_) != 0 && errno != EINPROGRESS) {
    const int error = errno;
    QMetaObject::invokeMethod(context_.get(), [this, id, error] { fail(id, error); }, Qt::QueuedConnection);
    return;
  }
  // Writable means the connect has finished, one way or the other.
  s->notifiers = takeNotifiers(id, s->fd);
  s->notifiers->write.setEnabled(true);
}

void PosixTransport::onWritable(SocketId id) {
  Socket* s = find(id);
  if (!s) return;
  if (!s->connected) {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(s->fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error != 0) {
      fail(id, error);
      return;
    }
    s->connected = true;
    s->notifiers->write.setEnabled(false);
    s->notifiers->read.setEnabled(true);
    if (events_.connected) events_.connected(id);
    return;
  }
  // Connected: the rest of a send the kernel could not take at once.
  while (!s->pendingOut.empty()) {
    ssize_t n = ::send(s->fd, s->pendingOut.data(), s->pendingOut.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return;
      errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + systemText(errno);
      s->pendingOut.clear();  // the read side reports the broken connection
      break;
    }
    s->pendingOut.erase(0, static_cast<std::size_t>(n));
  }
  s->notifiers->write.setEnabled(false);
}

bool PosixTransport::send(SocketId id, std::string_view bytes) {
  Socket* s = find(id);
  if (!s || !s->connected) {
    errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + "Socket is not connected";
    return false;
  }
  if (!s->pendingOut.empty()) {
    s->pendingOut.append(bytes);
    return true;
  }
  while (!bytes.empty()) {
    ssize_t n = ::send(s->fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + systemText(errno);
        return false;
      }
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  if (!bytes.empty()) {
    s->pendingOut.assign(bytes);
    s->notifiers->write.setEnabled(true);
  }
  return true;
}

void PosixTransport::onReadable(SocketId id) {
  Socket* s = find(id);
  if (!s) return;
  std::string bytes;
  bool ended = false;
  int error = 0;
  while (bytes.size() < kReadPerNotification) {
    const std::size_t have = bytes.size();
    bytes.resize(have + kReadChunk);
    ssize_t n = ::read(s->fd, bytes.data() + have, kReadChunk);
    bytes.resize(have + static_cast<std::size_t>(n > 0 ? n : 0));
    if (n > 0) continue;
    if (n == 0) {
      ended = true;
    } else if (errno == EINTR) {
      continue;
    } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
      ended = true;
      error = errno;
    }
    break;
  }
  if (!bytes.empty() && events_.received) {
    events_.received(id, bytes);
    if (!find(id)) return;  // the handler closed it
  }
  if (!ended) return;
  if (error != 0) errorText_ = std::string(commFailurePrefix(CommFailure::Recv)) + systemText(error);
  release(id);
  if (events_.closed) events_.closed(id);
}

void PosixTransport::fail(SocketId id, int error) {
  if (!find(id)) return;  // closed by its owner meanwhile
  errorText_ = std::string(commFailurePrefix(CommFailure::Connect)) + systemText(error);
  release(id);
  if (events_.closed) events_.closed(id);
}

void PosixTransport::close(SocketId id) { release(id); }

void PosixTransport::release(SocketId id) {
  auto it = sockets_.find(id);
  if (it == sockets_.end()) return;
  Socket& s = *it->second;
  if (Notifiers* n = s.notifiers) {
    // Possibly from inside one of their own signals: they are only
    // switched off here and wait in the pool for the next socket.
    n->read.setEnabled(false);
    n->write.setEnabled(false);
    n->socket = kNoSocket;
    freeNotifiers_.push_back(n);
  }
  if (s.fd >= 0) ::close(s.fd);
  sockets_.erase(it);
}

}  // namespace tarvik::app

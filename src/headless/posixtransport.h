#pragma once
// The core's Transport port on plain non-blocking POSIX sockets, each with
// a QSocketNotifier on the event loop: the lean transport of the headless
// program, which polls a router every few seconds for weeks and should cost
// little more per poll than the loopback TCP exchange itself.
//
// Events arrive from the event loop only, never from inside open(), send()
// or close(): connected when the connection is up, received with every
// byte that has arrived, closed when the peer closes or the connection
// fails (a failed connect included, with the reason in errorText()).
// Nothing is reported for a socket after the owner closed it. A host name
// is looked up in the background; an open before the answer waits for it.

#include <QObject>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <sys/socket.h>

#include "shell/corewiring.h"
#include "ports/transport.h"

class QSocketNotifier;

namespace tarvik::app {

class PosixTransport : public Transport {
 public:
  explicit PosixTransport(TransportEvents events);
  ~PosixTransport() override;

  void setHost(const std::string& host) override;
  void setPort(int port) override;
  SocketId open() override;
  bool send(SocketId socket, std::string_view bytes) override;
  void close(SocketId socket) override;
  std::string errorText() const override { return errorText_; }

  std::size_t openSockets() const { return sockets_.size(); }

 private:
  struct Socket;
  struct Notifiers;
  enum class Lookup { None, Pending, Done, Failed };

  Notifiers* takeNotifiers(SocketId id, int fd);

  void startConnect(SocketId id);
  void onWritable(SocketId id);
  void onReadable(SocketId id);
  void fail(SocketId id, int error);
  void release(SocketId id);
  void lookupFinished(const std::string& host, bool ok, const sockaddr_storage& address, socklen_t length);
  Socket* find(SocketId id);

  TransportEvents events_;
  std::unique_ptr<QObject> context_;  // owns the notifiers and queued calls
  std::string host_;
  int port_ = 23;
  Lookup lookup_ = Lookup::None;
  int lookupId_ = -1;
  sockaddr_storage address_{};
  socklen_t addressLength_ = 0;
  SocketId next_ = 1;
  std::map<SocketId, std::unique_ptr<Socket>> sockets_;
  // Notifier pairs are kept and reused: a poll every few seconds should not
  // create and destroy Qt objects each time.
  std::vector<std::unique_ptr<Notifiers>> notifiers_;
  std::vector<Notifiers*> freeNotifiers_;
  std::string errorText_;
};

}  // namespace tarvik::app

#pragma once
// The core's Transport port on libuv TCP handles: the lean transport of the
// headless program, which polls a router every few seconds for weeks and
// should cost little more per poll than the loopback TCP exchange itself.
//
// Events arrive from the event loop only, never from inside open(), send()
// or close(): connected when the connection is up, received with the bytes
// that have arrived, closed when the peer closes or the connection fails
// (a failed connect included, with the reason in errorText()). A send the
// socket layer refuses returns false, with the reason in errorText().
// Nothing is reported for a socket after the owner closed it.
//
// A host name is looked up in the background (uv_getaddrinfo), once per
// new host text; an open before the answer waits for it. A lookup that
// fails is tried again at the next open.

#include <sys/socket.h>

#include <map>
#include <string>

#include "headless/eventloop.h"
#include "engine/ports/transport.h"

namespace tarvik::app {

class UvTransport : public Transport {
 public:
  UvTransport(EventLoop& loop, TransportEvents events);
  ~UvTransport() override;
  UvTransport(const UvTransport&) = delete;
  UvTransport& operator=(const UvTransport&) = delete;

  void setHost(const std::string& host) override;
  void setPort(int port) override;
  SocketId open() override;
  bool send(SocketId socket, std::string_view bytes) override;
  void close(SocketId socket) override;
  std::string errorText() const override { return errorText_; }
  ConnectFailure connectFailure() const override { return connectFailure_; }

  std::size_t openSockets() const { return sockets_.size(); }

  struct Socket;  // a TCP handle and what its callbacks need; freed by the loop
  struct Lookup;  // one name lookup in flight

 private:
  enum class Address { None, Pending, Done, Failed };

  void startLookup();
  void lookupFinished(Lookup* lookup, int status, const sockaddr* found);
  // false: no socket could be made (errorText() says why).
  bool startConnect(SocketId id, Socket* s);
  void onConnected(Socket* s, int status);
  void onRead(Socket* s, ssize_t n, const char* bytes);
  void onWritten(Socket* s, int status);
  // Ends the socket and reports it closed, unless its owner closed it first.
  void fail(SocketId id, CommFailure failure, int error);
  void release(SocketId id);
  Socket* find(SocketId id);

  EventLoop& loop_;
  TransportEvents events_;
  std::string host_;
  int port_ = 23;
  Address address_ = Address::None;
  sockaddr_storage resolved_{};
  Lookup* lookup_ = nullptr;  // the lookup for host_, while it runs
  SocketId next_ = 1;
  std::map<SocketId, Socket*> sockets_;
  std::string errorText_;
  ConnectFailure connectFailure_ = ConnectFailure::Other;
  int lookupError_ = UV_EHOSTUNREACH;  // why the address is not known (Address::Failed)
  char readBuffer_[65536];  // one read at a time: the loop hands it out and takes it back
  friend struct Callbacks;
};

}  // namespace tarvik::app

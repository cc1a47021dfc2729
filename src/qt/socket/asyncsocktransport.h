#pragma once
// The core's Transport port on TAsyncSock. Socket events go to the shared
// TransportEvents (the core's AsyncSock1Connect, AsyncSock1Receive and
// AsyncSock1Close); a connect that fails arrives as a close, with the
// reason in errorText(); a send that fails returns false, with the reason
// in errorText().

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "qt/socket/tasyncsock.h"
#include "engine/ports/transport.h"

namespace tarvik {

class AsyncSockTransport : public Transport {
 public:
  explicit AsyncSockTransport(TransportEvents events);
  ~AsyncSockTransport() override;

  void setHost(const std::string& host) override;
  void setPort(int port) override;
  SocketId open() override;
  bool send(SocketId socket, std::string_view bytes) override;
  void close(SocketId socket) override;
  // UTF-8: a prefix such as "connect Error " and the system's reason.
  std::string errorText() const override { return errorText_; }
  ConnectFailure connectFailure() const override { return connectFailure_; }

  TAsyncSock& component() { return *sock_; }

 private:
  std::unique_ptr<TAsyncSock> sock_;
  TransportEvents handlers_;
  std::string errorText_;
  ConnectFailure connectFailure_ = ConnectFailure::Other;
};

}  // namespace tarvik

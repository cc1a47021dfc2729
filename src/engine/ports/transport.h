#pragma once
// Opens console connections to the router. One connection per exchange;
// every event the shell reports back carries the socket it belongs to.

#include <string>
#include <string_view>

namespace tarvik {

using SocketId = long long;
constexpr SocketId kNoSocket = -1;

class Transport {
 public:
  virtual ~Transport() = default;
  virtual void setHost(const std::string& host) = 0;  // Shift-JIS or ASCII host text
  virtual void setPort(int port) = 0;
  // Starts connecting; returns the new socket or kNoSocket when the socket
  // could not even be created (the error text goes to errorText()).
  // The outcome arrives later as a connect, or as a failure (closed) event.
  virtual SocketId open() = 0;
  // Hands all bytes to the connection without waiting. False when they
  // could not be (the connection is not up, or broke): errorText() says why.
  virtual bool send(SocketId socket, std::string_view bytes) = 0;
  virtual void close(SocketId socket) = 0;
  virtual std::string errorText() const = 0;
};

}  // namespace tarvik

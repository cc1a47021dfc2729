#pragma once
// Opens console connections to the router. One connection per exchange;
// every event the shell reports back carries the socket it belongs to.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tarvik {

using SocketId = long long;
constexpr SocketId kNoSocket = -1;

// Where every transport delivers its socket events. They arrive from the
// front end's event loop, never from inside open(), send() or close(), and
// nothing arrives for a socket after its owner closed it.
struct TransportEvents {
  std::function<void(SocketId)> connected;
  std::function<void(SocketId, std::string_view)> received;
  std::function<void(SocketId)> closed;  // closed by the peer, or failed
};

// What a transport failure is about; each has the fixed text its message
// starts with.
enum class CommFailure { NoSocket, Bind, Connect, Send, Recv };

// "Soketが獲得できない。 ", "bind Error ", "connect Error ", "Send Error ",
// "Recv Error " (UTF-8).
inline const char* commFailurePrefix(CommFailure failure) {
  static constexpr std::array<const char*, 5> kPrefixes{
      "Soketが獲得できない。 ",  // NoSocket
      "bind Error ",             // Bind
      "connect Error ",          // Connect
      "Send Error ",             // Send
      "Recv Error ",             // Recv
  };
  return kPrefixes[static_cast<std::size_t>(failure)];
}

// Why a connection to the router could not be made, as far as the user
// is told: each has words of its own, anything else is told with the
// system's text (errorText()).
enum class ConnectFailure { Other, Refused, HostNotFound, TimedOut, Unreachable };

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
  // Why the last connect failed; read with the failure (closed) event of a
  // socket that never connected.
  virtual ConnectFailure connectFailure() const { return ConnectFailure::Other; }
};

}  // namespace tarvik

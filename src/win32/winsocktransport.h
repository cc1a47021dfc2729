#pragma once
// The core's Transport port on Winsock: non-blocking sockets whose events
// (WSAAsyncSelect) arrive on the message window, so they reach the core on
// the thread's message loop, one at a time.
//
// Events come from the message loop only, never from inside open(), send()
// or close(): connected when the connection is up, received with every byte
// that has arrived, closed when the peer closes or the connection fails (a
// failed connect included, with the reason in errorText()). Nothing is
// reported for a socket after its owner closed it. A host name is looked up
// on a worker thread, so the loop never waits for a name server; an open
// before the answer waits for it.

#include <winsock2.h>
#include <ws2tcpip.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "win32/messagewindow.h"
#include "engine/ports/transport.h"

namespace tarvik::win32 {

// Winsock for the life of the program (WSAStartup / WSACleanup).
class WinsockSession {
 public:
  WinsockSession();
  ~WinsockSession();
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

class WinsockTransport : public Transport {
 public:
  WinsockTransport(MessageWindow& window, TransportEvents events);
  ~WinsockTransport() override;
  WinsockTransport(const WinsockTransport&) = delete;
  WinsockTransport& operator=(const WinsockTransport&) = delete;

  void setHost(const std::string& host) override;
  void setPort(int port) override;
  SocketId open() override;
  bool send(SocketId socket, std::string_view bytes) override;
  void close(SocketId socket) override;
  std::string errorText() const override { return errorText_; }
  ConnectFailure connectFailure() const override { return connectFailure_; }

  std::size_t openSockets() const { return sockets_.size(); }

 private:
  struct Socket {
    SOCKET handle = INVALID_SOCKET;
    bool connected = false;
    bool waitingForLookup = false;
    std::string pendingOut;
  };
  enum class Lookup { None, Pending, Done, Failed };

  void startLookup(const std::string& name);
  void lookupFinished(unsigned generation, bool ok, const sockaddr_storage& address, int length);
  void startConnect(SocketId id);
  void onSocketEvent(SOCKET handle, WORD event, WORD error);
  void onConnected(SocketId id, int error);
  void onReadable(SocketId id);
  void onWritable(SocketId id);
  void fail(SocketId id, int error);
  void release(SocketId id);
  void closeReleased(SOCKET handle);
  Socket* find(SocketId id);

  MessageWindow& window_;
  TransportEvents events_;
  UINT socketMessage_ = 0;
  UINT closeMessage_ = 0;
  std::string host_;
  int port_ = 23;
  Lookup lookup_ = Lookup::None;
  unsigned lookupGeneration_ = 0;  // answers for an older host are dropped
  sockaddr_storage address_{};
  int addressLength_ = 0;
  SocketId next_ = 1;
  std::map<SocketId, std::unique_ptr<Socket>> sockets_;
  std::map<SOCKET, SocketId> byHandle_;
  std::set<SOCKET> releasing_;  // let go of, closed once their queued events are out
  std::string errorText_;
  ConnectFailure connectFailure_ = ConnectFailure::Other;
  // Work posted to the loop checks this is still here.
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};

// The system's text for a Winsock error code, in UTF-8.
std::string winsockErrorText(int error);

}  // namespace tarvik::win32

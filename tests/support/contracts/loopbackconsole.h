#pragma once
// The router's side of a console conversation, on 127.0.0.1, for the
// transport tests of every front end (plain sockets: Winsock on Windows).
//
// Each connection is greeted, then goes through the steps in turn: a step
// waits until what arrived since the previous step holds its text (and at
// least its byte count), then answers. After the last step the console
// closes its sending side, as the router does after "exit", and lets the
// connection go once the client has closed too. Every connection is served
// on a thread of its own, so clients that close early or never speak hold
// up no one.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace tarvik::contracts {

struct ConsoleStep {
  std::string until;      // text to wait for ("" waits for bytes alone)
  std::size_t bytes = 0;  // at least this many bytes since the previous step
  std::string reply;
};

class LoopbackConsole {
 public:
  LoopbackConsole(std::string greeting, std::vector<ConsoleStep> steps);
  ~LoopbackConsole();
  LoopbackConsole(const LoopbackConsole&) = delete;
  LoopbackConsole& operator=(const LoopbackConsole&) = delete;

  int port() const { return port_; }
  // Bytes received over all connections so far.
  std::size_t bytesReceived() const { return received_; }

 private:
  void acceptLoop();
  void serve(std::intptr_t connection);
  // Waits up to 50 ms for fd to be readable; false when the console stops.
  bool readable(std::intptr_t fd) const;

  const std::string greeting_;
  const std::vector<ConsoleStep> steps_;
  std::intptr_t listener_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<std::size_t> received_{0};
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

// A loopback port nothing listens on: bound, then let go.
int unusedLoopbackPort();

}  // namespace tarvik::contracts

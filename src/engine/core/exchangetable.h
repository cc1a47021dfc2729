#pragma once
// The console exchanges still open, one per socket. Each keeps what it was
// opened with (its chain and whether it is a command exchange), its own
// answer assembly, and when it was opened, so that one the router never
// closes can be ended.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/core/linktrouble.h"
#include "engine/net/answerassembler.h"
#include "engine/ports/transport.h"

namespace tarvik {

struct Exchange {
  std::string chain;     // CommandChain when it was opened
  bool command = false;  // CommandExchange when it was opened
  bool quiet = false;    // an automatic log fetch: nothing of it is echoed
  std::string secret;    // a per-call password the chain carries, masked in its answers
  std::uint32_t openedMs = 0;
  AnswerAssembler assembler;
  // What its answers showed so far (connected included), for its verdict.
  ExchangeSigns signs;
  bool connected() const { return signs.connected; }
};

class ExchangeTable {
 public:
  // An exchange that the router has not closed this long after it was opened
  // is ended as if it had.
  static constexpr std::uint32_t kTimeoutMs = 30000;

  Exchange& add(SocketId socket, std::string chain, bool command, std::uint32_t nowMs);
  Exchange* find(SocketId socket);
  void remove(SocketId socket);
  bool empty() const { return open_.empty(); }
  // Some exchange has neither connected nor failed yet.
  bool connecting() const;
  std::vector<SocketId> sockets() const;
  // Sockets opened kTimeoutMs or longer ago (the tick may wrap in 32 bits).
  std::vector<SocketId> expired(std::uint32_t nowMs) const;

 private:
  std::map<SocketId, Exchange> open_;
};

}  // namespace tarvik

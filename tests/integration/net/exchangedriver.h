#pragma once
// What the core does with the Transport, reduced to what these tests need:
// open an exchange, send the login batch on connect, cut the output into
// answers (sending the telnet refusals back), close when the router closes.

#include <map>
#include <string>
#include <vector>

#include "engine/net/answerassembler.h"
#include "engine/net/exchange.h"
#include "qt/socket/asyncsocktransport.h"

namespace tarvik::testing {

struct ExchangeRecord {
  std::string chain;
  AnswerAssembler assembler;
  std::vector<std::string> answers;
  std::string replies;
  std::string events;  // 'C' connect, 'R' receive, 'X' close, in order
  bool closed = false;
};

class ExchangeDriver {
 public:
  explicit ExchangeDriver(int port, std::string password = {})
      : transport_({[this](SocketId s) { connected(s); },
                    [this](SocketId s, std::string_view bytes) { received(s, bytes); },
                    [this](SocketId s) { closed(s); }}),
        password_(std::move(password)) {
    transport_.setHost("127.0.0.1");
    transport_.setPort(port);
  }

  SocketId start(const std::string& chain) {
    SocketId s = transport_.open();
    if (s != kNoSocket) exchanges_[s].chain = chain;
    return s;
  }

  ExchangeRecord& at(SocketId s) { return exchanges_[s]; }
  AsyncSockTransport& transport() { return transport_; }
  // Joined answers of an exchange.
  std::string text(SocketId s) {
    std::string all;
    for (const auto& a : exchanges_[s].answers) all += a;
    return all;
  }

 private:
  void connected(SocketId s) {
    ExchangeRecord& x = exchanges_[s];
    x.events += 'C';
    transport_.send(s, loginBatch(password_, x.chain, ""));
  }
  void received(SocketId s, std::string_view bytes) {
    ExchangeRecord& x = exchanges_[s];
    x.events += 'R';
    std::string replies;
    x.assembler.feed(bytes, x.answers, replies);
    x.replies += replies;
    if (!replies.empty()) transport_.send(s, replies);
  }
  void closed(SocketId s) {
    ExchangeRecord& x = exchanges_[s];
    x.events += 'X';
    x.assembler.finish(x.answers);
    x.closed = true;
    transport_.close(s);
  }

  AsyncSockTransport transport_;
  std::string password_;
  std::map<SocketId, ExchangeRecord> exchanges_;
};

}  // namespace tarvik::testing

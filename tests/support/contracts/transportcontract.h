#pragma once
// What every Transport promises, checked against each front end's adapter
// over real loopback sockets: events arrive from the event loop only (never
// from inside open(), send() or close()), in order, every byte of them;
// failures arrive as a close with the reason; nothing arrives for a socket
// its owner has closed.
//
// An implementation's test instantiates the suite with a driver:
//
//   struct Driver {
//     Driver();                                 // the event loop and what the adapter needs
//     Transport& make(TransportEvents events);  // the adapter, owned by the driver
//     bool runUntil(const std::function<bool()>& done, int timeoutMs);  // runs the loop
//     std::size_t openSockets() const;          // sockets the adapter still holds
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(Uv, TransportContract, ::testing::Types<Driver>);

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/loopbackconsole.h"
#include "engine/ports/transport.h"

namespace tarvik::contracts {

// How long a test waits for an event before it fails: generous, as a loaded
// machine (or Wine starting up) may be slow, and passing tests never wait
// it out.
constexpr int kEventDeadlineMs = 20000;

template <typename Driver>
class TransportContract : public ::testing::Test {
 protected:
  struct Event {
    std::string kind;  // connected, received, closed
    SocketId socket;
    std::string bytes;
  };

  TransportContract()
      : transport(driver.make({[this](SocketId s) {
                                 events.push_back({"connected", s, ""});
                                 onConnected(s);
                               },
                               [this](SocketId s, std::string_view b) {
                                 events.push_back({"received", s, std::string(b)});
                               },
                               [this](SocketId s) { events.push_back({"closed", s, ""}); }})) {}

  bool runUntil(const std::function<bool()>& done) { return driver.runUntil(done, kEventDeadlineMs); }
  bool has(const std::string& kind, SocketId s) const {
    for (const Event& e : events)
      if (e.kind == kind && e.socket == s) return true;
    return false;
  }
  std::string receivedOn(SocketId s) const {
    std::string all;
    for (const Event& e : events)
      if (e.kind == "received" && e.socket == s) all += e.bytes;
    return all;
  }
  // The kinds of s's events in order, a run of receives as one.
  std::vector<std::string> kindsOn(SocketId s) const {
    std::vector<std::string> kinds;
    for (const Event& e : events)
      if (e.socket == s && (kinds.empty() || kinds.back() != e.kind)) kinds.push_back(e.kind);
    return kinds;
  }
  bool startsWith(const std::string& text, const std::string& prefix) const { return text.rfind(prefix, 0) == 0; }
  void connectTo(const std::string& host, int port) {
    transport.setHost(host);
    transport.setPort(port);
  }

  Driver driver;
  std::vector<Event> events;
  std::function<void(SocketId)> onConnected = [](SocketId) {};
  Transport& transport;
};

TYPED_TEST_SUITE_P(TransportContract);

// More than a socket buffer takes at once, handed over in one send from the
// connected event: all of it reaches the peer, and its answer comes back.
TYPED_TEST_P(TransportContract, BulkSendReachesThePeerAndItsAnswerComesBack) {
  const std::string batch(8 << 20, 'x');
  LoopbackConsole console("login: ", {{"", batch.size(), "answer\n"}});
  this->connectTo("127.0.0.1", console.port());
  this->onConnected = [&](SocketId s) { EXPECT_TRUE(this->transport.send(s, batch)) << this->transport.errorText(); };
  const SocketId s = this->transport.open();
  ASSERT_NE(s, kNoSocket) << this->transport.errorText();
  EXPECT_TRUE(this->events.empty()) << "nothing may be reported from inside open()";
  ASSERT_TRUE(this->runUntil([&] { return this->has("closed", s); })) << console.bytesReceived();
  EXPECT_EQ(this->kindsOn(s), (std::vector<std::string>{"connected", "received", "closed"}));
  EXPECT_EQ(this->receivedOn(s), "login: answer\n");
  EXPECT_EQ(console.bytesReceived(), batch.size());
  EXPECT_EQ(this->driver.openSockets(), 0u);
}

// A console session: each answer is waited for before the next command,
// and the router's close after "exit" ends it.
TYPED_TEST_P(TransportContract, ConversationTakesTurnsUntilThePeerCloses) {
  LoopbackConsole console("\r\nlogin: ", {{"admin\r", 0, "admin\r\nsystem% "},
                                          {"sh ver\r", 0, "sh ver\r\nVer 1.20\r\nsystem% "},
                                          {"exit\r", 0, "exit\r\n"}});
  this->connectTo("127.0.0.1", console.port());
  const SocketId s = this->transport.open();
  ASSERT_NE(s, kNoSocket);
  EXPECT_TRUE(this->events.empty()) << "nothing may be reported from inside open()";
  const struct {
    const char* waitFor;
    const char* send;
  } turns[] = {{"login: ", "admin\r"}, {"% ", "sh ver\r"}, {"Ver 1.20\r\nsystem% ", "exit\r"}};
  for (const auto& turn : turns) {
    ASSERT_TRUE(this->runUntil([&] { return this->receivedOn(s).find(turn.waitFor) != std::string::npos; }))
        << this->receivedOn(s);
    EXPECT_TRUE(this->transport.send(s, turn.send)) << this->transport.errorText();
  }
  ASSERT_TRUE(this->runUntil([&] { return this->has("closed", s); })) << this->receivedOn(s);
  EXPECT_EQ(this->kindsOn(s), (std::vector<std::string>{"connected", "received", "closed"}));
  EXPECT_EQ(this->receivedOn(s), "\r\nlogin: admin\r\nsystem% sh ver\r\nVer 1.20\r\nsystem% exit\r\n");
  EXPECT_EQ(this->driver.openSockets(), 0u);
}

// A host name (blanks around it as typed) is looked up without stopping the
// loop; sockets opened before the answer wait for it, then connect.
TYPED_TEST_P(TransportContract, HostNameIsLookedUpOnTheLoop) {
  LoopbackConsole console("", {{"abc", 0, "ok"}});
  this->connectTo(" localhost ", console.port());
  this->onConnected = [&](SocketId s) { this->transport.send(s, "abc"); };
  const SocketId first = this->transport.open();
  const SocketId second = this->transport.open();
  ASSERT_NE(first, kNoSocket);
  ASSERT_NE(second, kNoSocket);
  EXPECT_NE(first, second);
  EXPECT_TRUE(this->events.empty()) << "nothing may be reported from inside open()";
  ASSERT_TRUE(this->runUntil([&] { return this->has("closed", first) && this->has("closed", second); }));
  for (SocketId s : {first, second}) {
    EXPECT_EQ(this->kindsOn(s), (std::vector<std::string>{"connected", "received", "closed"})) << s;
    EXPECT_EQ(this->receivedOn(s), "ok") << s;
  }
}

// Nothing listening, no host, a host of blanks, a name that is not found
// (a blank inside: refused without asking a name server): each is one close
// event, with "connect Error " and the system's reason, and what the user
// is told where the reason is clear. The failed socket may still be closed
// by its owner, and sending on it is refused.
TYPED_TEST_P(TransportContract, FailuresArriveAsClosedWithTheReason) {
  const int port = unusedLoopbackPort();
  const std::map<std::string, ConnectFailure> clearReasons = {
      {"127.0.0.1", ConnectFailure::Refused}, {"no such router", ConnectFailure::HostNotFound}};
  for (const std::string host : {"127.0.0.1", "", "   ", "no such router"}) {
    this->events.clear();
    this->connectTo(host, port);
    const SocketId s = this->transport.open();
    ASSERT_NE(s, kNoSocket) << "'" << host << "'";
    EXPECT_TRUE(this->events.empty()) << "'" << host << "'";
    ASSERT_TRUE(this->runUntil([&] { return this->has("closed", s); })) << "'" << host << "'";
    EXPECT_EQ(this->kindsOn(s), std::vector<std::string>{"closed"}) << "'" << host << "'";
    EXPECT_EQ(this->events.size(), 1u) << "'" << host << "'";
    const std::string error = this->transport.errorText();
    EXPECT_TRUE(this->startsWith(error, "connect Error ")) << "'" << host << "': " << error;
    EXPECT_GT(error.size(), std::string("connect Error ").size()) << "the system's reason follows";
    if (auto clear = clearReasons.find(host); clear != clearReasons.end()) {
      EXPECT_EQ(this->transport.connectFailure(), clear->second) << "'" << host << "': " << error;
    }
    this->transport.close(s);
    EXPECT_FALSE(this->transport.send(s, "x"));
    EXPECT_TRUE(this->startsWith(this->transport.errorText(), "Send Error ")) << this->transport.errorText();
  }
  EXPECT_EQ(this->driver.openSockets(), 0u);
}

// One socket closed before its connect completes, one closed inside its own
// connected event: neither reports anything more, while a third exchange
// shows the loop ran on past both.
TYPED_TEST_P(TransportContract, NothingArrivesAfterTheOwnerCloses) {
  LoopbackConsole console("hello", {{"z", 0, "bye"}});
  this->connectTo("127.0.0.1", console.port());
  const SocketId early = this->transport.open();
  this->transport.close(early);
  const SocketId inEvent = this->transport.open();
  const SocketId third = this->transport.open();
  this->onConnected = [&](SocketId s) {
    if (s == inEvent) this->transport.close(s);
    if (s == third) this->transport.send(s, "z");
  };
  ASSERT_TRUE(this->runUntil([&] { return this->has("connected", inEvent) && this->has("closed", third); }));
  EXPECT_TRUE(this->kindsOn(early).empty());
  EXPECT_EQ(this->kindsOn(inEvent), std::vector<std::string>{"connected"});
  EXPECT_EQ(this->receivedOn(third), "hellobye");
  EXPECT_EQ(this->driver.openSockets(), 0u);
  // Sending on a closed socket is refused with the reason, never thrown.
  EXPECT_FALSE(this->transport.send(inEvent, "late"));
  EXPECT_TRUE(this->startsWith(this->transport.errorText(), "Send Error ")) << this->transport.errorText();
}

// Sockets opened right after one was closed get none of its events, even
// where they reuse its system handle: connects that are refused end as
// refused, not as connected.
TYPED_TEST_P(TransportContract, NextSocketsGetNoneOfAClosedOnesEvents) {
  LoopbackConsole console("hello", {});
  const int unused = unusedLoopbackPort();
  for (int round = 0; round < 3; ++round) {
    this->connectTo("127.0.0.1", console.port());
    this->transport.close(this->transport.open());
    this->connectTo("127.0.0.1", unused);
    const SocketId first = this->transport.open();
    const SocketId second = this->transport.open();
    ASSERT_TRUE(this->runUntil([&] { return this->has("closed", first) && this->has("closed", second); }))
        << "round " << round << ": " << this->kindsOn(first).size() << " " << this->kindsOn(second).size();
    EXPECT_EQ(this->kindsOn(first), std::vector<std::string>{"closed"}) << round;
    EXPECT_EQ(this->kindsOn(second), std::vector<std::string>{"closed"}) << round;
    EXPECT_TRUE(this->startsWith(this->transport.errorText(), "connect Error ")) << this->transport.errorText();
  }
  EXPECT_EQ(this->driver.openSockets(), 0u);
}

// A send before the connection is up, or on a socket that never was, is
// refused with "Send Error " and the reason, and reports no event; once
// connected, sends go through.
TYPED_TEST_P(TransportContract, SendBeforeConnectIsRefused) {
  LoopbackConsole console("", {{"x", 0, ""}});
  this->connectTo("127.0.0.1", console.port());
  const SocketId s = this->transport.open();
  ASSERT_NE(s, kNoSocket);
  EXPECT_FALSE(this->transport.send(s, "too early"));
  const std::string error = this->transport.errorText();
  EXPECT_TRUE(this->startsWith(error, "Send Error ")) << error;
  EXPECT_GT(error.size(), std::string("Send Error ").size()) << "the reason follows";
  EXPECT_FALSE(this->transport.send(12345, "nobody's"));
  EXPECT_TRUE(this->events.empty());
  ASSERT_TRUE(this->runUntil([&] { return this->has("connected", s); }));
  EXPECT_TRUE(this->transport.send(s, "x")) << this->transport.errorText();
  ASSERT_TRUE(this->runUntil([&] { return this->has("closed", s); })) << "the console answers x by closing";
  EXPECT_EQ(this->kindsOn(s), (std::vector<std::string>{"connected", "closed"}));
}

REGISTER_TYPED_TEST_SUITE_P(TransportContract, BulkSendReachesThePeerAndItsAnswerComesBack,
                            ConversationTakesTurnsUntilThePeerCloses, HostNameIsLookedUpOnTheLoop,
                            FailuresArriveAsClosedWithTheReason, NothingArrivesAfterTheOwnerCloses,
                            NextSocketsGetNoneOfAClosedOnesEvents, SendBeforeConnectIsRefused);

}  // namespace tarvik::contracts

// The Winsock transport over real loopback sockets, against the router
// simulator (its console port comes from TARVIK_SIM_CONSOLE_PORT): every
// outcome arrives as an event from the message loop, in order, and nothing
// arrives for a socket its owner has closed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pump.h"
#include "win32/winsocktransport.h"

namespace tarvik::win32 {
namespace {

using testing::pumpUntil;

struct Event {
  std::string kind;  // connected, received, closed
  SocketId socket;
  std::string bytes;
};

int simulatorPort() {
  const char* port = std::getenv("TARVIK_SIM_CONSOLE_PORT");
  return port ? std::atoi(port) : 0;
}

// A loopback port with nobody listening: bound, then let go.
int closedPort() {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  int length = sizeof a;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
  ::closesocket(s);
  return ::ntohs(a.sin_port);
}

class WinsockTransportTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_GT(simulatorPort(), 0) << "TARVIK_SIM_CONSOLE_PORT is not set"; }

  bool closed(SocketId s) const {
    for (const Event& e : events)
      if (e.kind == "closed" && e.socket == s) return true;
    return false;
  }
  bool connected(SocketId s) const {
    for (const Event& e : events)
      if (e.kind == "connected" && e.socket == s) return true;
    return false;
  }
  std::string receivedOn(SocketId s) const {
    std::string all;
    for (const Event& e : events)
      if (e.kind == "received" && e.socket == s) all += e.bytes;
    return all;
  }
  std::vector<std::string> kindsOn(SocketId s) const {
    std::vector<std::string> kinds;
    for (const Event& e : events)
      if (e.socket == s && (kinds.empty() || kinds.back() != e.kind)) kinds.push_back(e.kind);
    return kinds;
  }

  WinsockSession winsock;
  MessageWindow window;
  std::vector<Event> events;
  std::function<void(SocketId)> onConnected = [](SocketId) {};
  WinsockTransport transport{window,
                             {[this](SocketId s) {
                                events.push_back({"connected", s, ""});
                                onConnected(s);
                              },
                              [this](SocketId s, std::string_view b) {
                                events.push_back({"received", s, std::string(b)});
                              },
                              [this](SocketId s) { events.push_back({"closed", s, ""}); }}};
};

TEST_F(WinsockTransportTest, LogsInExchangesAndSeesTheRouterClose) {
  transport.setHost("127.0.0.1");
  transport.setPort(simulatorPort());
  const SocketId s = transport.open();
  ASSERT_NE(s, kNoSocket);
  EXPECT_TRUE(events.empty()) << "nothing may arrive from inside open()";
  ASSERT_TRUE(pumpUntil([&] { return receivedOn(s).find("login: ") != std::string::npos; }));
  EXPECT_TRUE(transport.send(s, "admin\r"));
  ASSERT_TRUE(pumpUntil([&] { return receivedOn(s).find("% ") != std::string::npos; })) << receivedOn(s);
  transport.send(s, "sh ver\r");
  ASSERT_TRUE(pumpUntil([&] { return receivedOn(s).find("Ver ") != std::string::npos; })) << receivedOn(s);
  transport.send(s, "exit\r");
  ASSERT_TRUE(pumpUntil([&] { return closed(s); })) << receivedOn(s);
  EXPECT_EQ(kindsOn(s), (std::vector<std::string>{"connected", "received", "closed"}));
  EXPECT_EQ(transport.openSockets(), 0u);
}

// A name is looked up on a worker thread; sockets opened before the answer
// wait for it.
TEST_F(WinsockTransportTest, NameLookupAnswersOnTheLoop) {
  transport.setHost("localhost");
  transport.setPort(simulatorPort());
  const SocketId first = transport.open();
  const SocketId second = transport.open();
  EXPECT_TRUE(events.empty());
  ASSERT_TRUE(pumpUntil([&] { return connected(first) && connected(second); }));
  transport.close(first);
  transport.close(second);
}

TEST_F(WinsockTransportTest, FailuresArriveAsClosedWithTheReason) {
  struct Case {
    const char* host;
    int port;
    const char* prefix;
  } cases[] = {
      {"127.0.0.1", closedPort(), "connect Error "},
      {"no-such-host.invalid", 23, "connect Error "},
      {"   ", 23, "connect Error "},
  };
  for (const Case& c : cases) {
    events.clear();
    transport.setHost(c.host);
    transport.setPort(c.port);
    const SocketId s = transport.open();
    ASSERT_NE(s, kNoSocket) << c.host;
    EXPECT_TRUE(events.empty()) << c.host;
    ASSERT_TRUE(pumpUntil([&] { return closed(s); }, 15000)) << c.host;
    EXPECT_FALSE(connected(s)) << c.host;
    EXPECT_EQ(transport.errorText().rfind(c.prefix, 0), 0u) << c.host << ": " << transport.errorText();
    EXPECT_GT(transport.errorText().size(), std::string(c.prefix).size()) << "the system's reason follows";
  }
}

TEST_F(WinsockTransportTest, NothingArrivesAfterTheOwnerCloses) {
  transport.setHost("127.0.0.1");
  transport.setPort(simulatorPort());
  SocketId s = transport.open();
  // Closed before its connect has completed, and another closed from
  // inside its own connected event.
  transport.close(s);
  const SocketId other = transport.open();
  onConnected = [&](SocketId id) { transport.close(id); };
  ASSERT_TRUE(pumpUntil([&] { return connected(other); }));
  // A third exchange shows the loop ran well past both closes.
  onConnected = [](SocketId) {};
  const SocketId third = transport.open();
  ASSERT_TRUE(pumpUntil([&] { return receivedOn(third).find("login: ") != std::string::npos; }));
  EXPECT_TRUE(kindsOn(s).empty());
  EXPECT_EQ(kindsOn(other), (std::vector<std::string>{"connected"}));
  transport.close(third);
  EXPECT_EQ(transport.openSockets(), 0u);
}

TEST_F(WinsockTransportTest, SendBeforeConnectIsRefused) {
  transport.setHost("127.0.0.1");
  transport.setPort(simulatorPort());
  const SocketId s = transport.open();
  EXPECT_FALSE(transport.send(s, "admin\r"));
  EXPECT_EQ(transport.errorText(), "Send Error Socket is not connected");
  transport.close(s);
}

}  // namespace
}  // namespace tarvik::win32

// The headless program's transport over real loopback sockets: every
// outcome arrives as an event from the event loop, in order, and nothing
// arrives for a socket its owner has closed.
#include "posixtransport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <string>
#include <vector>

namespace tarvik::app {
namespace {

struct Event {
  std::string kind;  // connected, received, closed
  SocketId socket;
  std::string bytes;
};

class PosixTransportTest : public testing::Test {
 protected:
  PosixTransportTest()
      : transport({[this](SocketId s) { events.push_back({"connected", s, ""}); onConnected(s); },
                   [this](SocketId s, std::string_view b) { events.push_back({"received", s, std::string(b)}); },
                   [this](SocketId s) { events.push_back({"closed", s, ""}); }}) {}

  // Runs the event loop until pred holds or 5 seconds have passed.
  bool runUntil(const std::function<bool()>& pred) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return pred();
  }
  bool closed(SocketId s) {
    for (const Event& e : events)
      if (e.kind == "closed" && e.socket == s) return true;
    return false;
  }
  std::string receivedOn(SocketId s) {
    std::string all;
    for (const Event& e : events)
      if (e.kind == "received" && e.socket == s) all += e.bytes;
    return all;
  }
  // A server that greets, reads what comes, and closes after `expect` bytes.
  void serve(int expect, std::string greeting, std::string answer) {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, [this, expect, greeting, answer] {
      QTcpSocket* peer = server.nextPendingConnection();
      peer->write(greeting.data(), static_cast<qint64>(greeting.size()));
      auto got = std::make_shared<QByteArray>();
      QObject::connect(peer, &QTcpSocket::readyRead, [this, peer, got, expect, answer] {
        *got += peer->readAll();
        serverGot = got->toStdString();
        if (got->size() >= expect) {
          peer->write(answer.data(), static_cast<qint64>(answer.size()));
          peer->disconnectFromHost();
        }
      });
    });
  }

  std::function<void(SocketId)> onConnected = [](SocketId) {};
  std::vector<Event> events;
  QTcpServer server;
  std::string serverGot;
  PosixTransport transport;
};

TEST_F(PosixTransportTest, ExchangeConnectsSendsReceivesAndCloses) {
  const std::string batch(8 << 20, 'x');  // more than a socket buffer takes at once
  serve(static_cast<int>(batch.size()), "login: ", "answer\n");
  transport.setHost("127.0.0.1");
  transport.setPort(server.serverPort());
  onConnected = [&](SocketId s) { transport.send(s, batch); };
  SocketId s = transport.open();
  ASSERT_NE(s, kNoSocket);
  EXPECT_TRUE(events.empty()) << "nothing may be reported from inside open()";
  ASSERT_TRUE(runUntil([&] { return closed(s); }));
  EXPECT_EQ(events.front().kind, "connected");
  EXPECT_EQ(events.back().kind, "closed");
  EXPECT_EQ(receivedOn(s), "login: answer\n");
  EXPECT_EQ(serverGot.size(), batch.size());
  EXPECT_EQ(transport.openSockets(), 0u);
}

TEST_F(PosixTransportTest, HostNameIsLookedUpInTheBackground) {
  serve(3, "", "ok");
  transport.setHost(" localhost ");
  transport.setPort(server.serverPort());
  onConnected = [&](SocketId s) { transport.send(s, "abc"); };
  SocketId s = transport.open();
  ASSERT_TRUE(runUntil([&] { return closed(s); }));
  EXPECT_EQ(receivedOn(s), "ok");
}

TEST_F(PosixTransportTest, FailuresArriveAsCloseWithTheReason) {
  struct Case {
    std::string host;
    std::string reasonPart;
  };
  // A port nobody listens on: bound and closed again.
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const quint16 deadPort = probe.serverPort();
  probe.close();
  // (No unknown host name here: looking one up would ask a name server.)
  for (const Case& c : {Case{"127.0.0.1", "connect Error "}, Case{"", "connect Error "}}) {
    events.clear();
    transport.setHost(c.host);
    transport.setPort(deadPort);
    SocketId s = transport.open();
    ASSERT_NE(s, kNoSocket) << c.host;
    ASSERT_TRUE(runUntil([&] { return closed(s); })) << c.host;
    ASSERT_EQ(events.size(), 1u) << c.host;
    EXPECT_EQ(transport.errorText().rfind(c.reasonPart, 0), 0u) << transport.errorText();
  }
  EXPECT_EQ(transport.openSockets(), 0u);
}

TEST_F(PosixTransportTest, NothingArrivesAfterTheOwnerClosed) {
  serve(1, "hello", "bye");
  transport.setHost("127.0.0.1");
  transport.setPort(server.serverPort());
  SocketId first = transport.open();
  SocketId second = transport.open();
  onConnected = [&](SocketId s) {
    if (s == first) {
      transport.close(first);  // closed inside its own event
    } else {
      transport.send(s, "z");
    }
  };
  ASSERT_TRUE(runUntil([&] { return closed(second); }));
  for (const Event& e : events) {
    if (e.socket == first) {
      EXPECT_EQ(e.kind, "connected") << "event after close: " << e.kind;
    }
  }
  EXPECT_EQ(receivedOn(second), "hellobye");
  EXPECT_EQ(transport.openSockets(), 0u);
  // Sending on a closed socket reports, never throws or crashes.
  transport.send(first, "late");
  EXPECT_NE(transport.errorText().find("Send Error "), std::string::npos);
}

}  // namespace
}  // namespace tarvik::app

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

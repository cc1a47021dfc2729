// TAsyncSock without a peer: properties, error texts, name look-ups, and
// connects that fail (nothing listening), which must be reported and leave
// no socket. The transport on it is checked by the transport contract
// (asyncsocktransport_test.cpp).

#include "qt/socket/tasyncsock.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <string>
#include <vector>

#include "engine/net/ecommerror.h"

namespace tarvik {
namespace {

// A loopback port with nothing listening on it.
quint16 deadPort() {
  QTcpServer server;
  server.listen(QHostAddress::LocalHost, 0);
  return server.serverPort();  // closed again when server goes
}

int openDescriptors() {
  return static_cast<int>(QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

// Runs what is pending, the deletes of closed sockets included.
void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(TAsyncSockTest, FailurePrefixes) {
  EXPECT_STREQ(commFailurePrefix(CommFailure::NoSocket), "Soketが獲得できない。 ");
  EXPECT_STREQ(commFailurePrefix(CommFailure::Bind), "bind Error ");
  EXPECT_STREQ(commFailurePrefix(CommFailure::Connect), "connect Error ");
  EXPECT_STREQ(commFailurePrefix(CommFailure::Send), "Send Error ");
  EXPECT_STREQ(commFailurePrefix(CommFailure::Recv), "Recv Error ");
  EXPECT_STREQ(ECommError(CommFailure::Bind, "").what(), "bind Error ");
}

TEST(TAsyncSockTest, HostAddressIsTakenAsItStands) {
  TAsyncSock sock;
  EXPECT_EQ(sock.IPAddr(), "255.255.255.255");  // nothing set yet
  sock.setHost("127.0.0.1");
  EXPECT_EQ(sock.Host(), "127.0.0.1");
  EXPECT_EQ(sock.IPAddr(), "127.0.0.1");
  sock.setHost(" 192.168.1.254 ");
  EXPECT_EQ(sock.IPAddr(), "192.168.1.254");
  sock.setHost("::1");
  EXPECT_EQ(sock.IPAddr(), "::1");
}

TEST(TAsyncSockTest, HostNameIsLookedUpWithoutWaiting) {
  TAsyncSock sock;
  sock.setHost("localhost");  // from the hosts file, no name server asked
  EXPECT_EQ(sock.IPAddr(), "255.255.255.255");
  EXPECT_TRUE(QTest::qWaitFor([&] { return sock.IPAddr() == "127.0.0.1"; }, 5000))
      << sock.IPAddr().toStdString();
}

// A name that cannot be found is looked up again when the host is set for
// the next exchange, and not before; a look-up under way is not restarted.
// (A name with a blank inside is refused without asking a name server.)
TEST(TAsyncSockTest, NameNotFoundIsLookedUpAgainAtTheNextSetting) {
  TAsyncSock sock;
  sock.setHost("no such router");
  sock.setHost("no such router");  // still looking: not restarted
  EXPECT_EQ(sock.lookupsStarted(), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !sock.lookingUp(); }, 5000));
  EXPECT_EQ(sock.IPAddr(), "255.255.255.255");
  QCoreApplication::processEvents();
  EXPECT_EQ(sock.lookupsStarted(), 1);  // nothing tries again by itself
  sock.setHost("no such router");
  EXPECT_EQ(sock.lookupsStarted(), 2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !sock.lookingUp(); }, 5000));
  // An address needs no look-up, and a name found stays found.
  sock.setHost("127.0.0.1");
  sock.setHost("localhost");
  ASSERT_TRUE(QTest::qWaitFor([&] { return sock.IPAddr() == "127.0.0.1"; }, 5000));
  sock.setHost("localhost");
  EXPECT_EQ(sock.IPAddr(), "127.0.0.1");
  EXPECT_EQ(sock.lookupsStarted(), 3);
}

TEST(TAsyncSockTest, OwnNameAndAddressCannotBeWritten) {
  TAsyncSock sock;
  const QString name = sock.SelfName();
  const QString address = sock.SelfIPAddr();
  EXPECT_FALSE(name.isEmpty());
  EXPECT_FALSE(address.isEmpty());
  sock.setProperty("SelfName", "other");
  sock.setProperty("SelfIPAddr", "1.2.3.4");
  EXPECT_EQ(sock.SelfName(), name);
  EXPECT_EQ(sock.SelfIPAddr(), address);
}

TEST(TAsyncSockTest, OperationsOnUnknownSocketsRaiseOrAreIgnored) {
  TAsyncSock sock;
  try {
    sock.SendText(42, "x");
    FAIL() << "no exception";
  } catch (const ECommError& e) {
    EXPECT_EQ(e.failure(), CommFailure::Send);
    EXPECT_EQ(std::string(e.what()).rfind("Send Error ", 0), 0u);
  }
  try {
    sock.Receive(42, 8192);
    FAIL() << "no exception";
  } catch (const ECommError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Recv Error ", 0), 0u);
  }
  EXPECT_NE(sock.LastError(), 0);
  sock.Close(42);  // ignored
  sock.Close(TAsyncSock::kNone);
}

// The mended fault: a refused connect is reported (as a close with the
// reason), its socket is freed, and the next open starts clean.
TEST(TAsyncSockTest, RefusedConnectIsReportedAndFreed) {
  TAsyncSock sock;
  sock.setHost("127.0.0.1");
  sock.setPort(deadPort());
  QSignalSpy connects(&sock, &TAsyncSock::OnConnect);
  QSignalSpy closes(&sock, &TAsyncSock::OnClose);
  const qint64 s = sock.Open(false);
  EXPECT_EQ(sock.LastError(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return closes.size() == 1; }, 5000));
  EXPECT_EQ(closes.at(0).at(0).toLongLong(), s);
  EXPECT_EQ(connects.size(), 0);
  EXPECT_EQ(sock.LastError(), 10061);
  EXPECT_FALSE(sock.ErrorMsg().isEmpty());
  EXPECT_EQ(sock.openConnections(), 0);
  sock.Close(s);  // the owner's close of a failed socket is harmless
  // Handles keep increasing.
  const qint64 next = sock.Open(false);
  EXPECT_GT(next, s);
  EXPECT_EQ(sock.LastError(), 0);
  sock.Close(next);
}

TEST(TAsyncSockTest, HostThatCannotBeFoundIsReportedAsAFailedConnect) {
  TAsyncSock sock;
  sock.setHost("");
  QSignalSpy closes(&sock, &TAsyncSock::OnClose);
  sock.Open(false);
  ASSERT_TRUE(QTest::qWaitFor([&] { return closes.size() == 1; }, 5000));
  EXPECT_NE(sock.LastError(), 0);
  EXPECT_EQ(sock.openConnections(), 0);
}

TEST(TAsyncSockTest, ManyFailedConnectsLeakNoDescriptors) {
  TAsyncSock sock;
  sock.setHost("127.0.0.1");
  sock.setPort(deadPort());
  int closes = 0;
  QObject::connect(&sock, &TAsyncSock::OnClose, [&](qint64) { ++closes; });
  settle();
  const int before = openDescriptors();
  for (int round = 0; round < 200; ++round) sock.Open(false);
  ASSERT_TRUE(QTest::qWaitFor([&] { return closes == 200; }, 20000)) << closes;
  // The closed sockets go with deferred deletes: their descriptors come back
  // once those have run.
  const bool returned = QTest::qWaitFor(
      [&] {
        settle();
        return openDescriptors() <= before;
      },
      5000);
  EXPECT_TRUE(returned) << openDescriptors() << " descriptors open, " << before << " before";
  EXPECT_EQ(sock.openConnections(), 0);
  EXPECT_EQ(openDescriptors(), before);
}

// A listener whose backlog is full lets a connect hang (its SYNs are
// dropped), as an unreachable router would: TimeOut ends the attempt.
TEST(TAsyncSockTest, ConnectThatHangsEndsAfterTimeOut) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(::listen(listener, 0), 0);
  ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  std::vector<int> fillers;
  for (int i = 0; i < 4; ++i) {
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ::connect(filler, reinterpret_cast<sockaddr*>(&address), length);
    fillers.push_back(filler);
  }

  TAsyncSock sock;
  sock.setHost("127.0.0.1");
  sock.setPort(ntohs(address.sin_port));
  sock.setTimeOut(3);  // 300 ms
  QSignalSpy connects(&sock, &TAsyncSock::OnConnect);
  QSignalSpy closes(&sock, &TAsyncSock::OnClose);
  const qint64 s = sock.Open(false);
  const bool ended = QTest::qWaitFor([&] { return closes.size() == 1; }, 10000);
  for (int filler : fillers) ::close(filler);
  ::close(listener);
  ASSERT_TRUE(ended);
  EXPECT_EQ(connects.size(), 0);
  EXPECT_EQ(closes.at(0).at(0).toLongLong(), s);
  EXPECT_EQ(sock.LastError(), 10060);
  EXPECT_EQ(sock.openConnections(), 0);
}

}  // namespace
}  // namespace tarvik

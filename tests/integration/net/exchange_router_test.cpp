// The Qt TAsyncSock and the answer assembler against the router simulator
// over loopback: whole exchanges as the program runs them, and the ways a
// console can misbehave.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <algorithm>
#include <map>
#include <string>

#include "engine/base/sjis.h"
#include "exchangedriver.h"
#include "engine/net/exchange.h"
#include "routersim.h"
#include "qt/socket/tasyncsock.h"

namespace tarvik {
namespace {

using testing::ExchangeDriver;
using testing::RouterSim;

constexpr int kWaitMs = 15000;

bool contains(const std::string& text, const char* utf8) {
  return text.find(toSjis(utf8)) != std::string::npos;
}

// Runs one exchange to its end and gives its record.
testing::ExchangeRecord runExchange(int port, const std::string& chain, const std::string& password = {}) {
  ExchangeDriver driver(port, password);
  const SocketId s = driver.start(chain);
  EXPECT_NE(s, kNoSocket);
  EXPECT_TRUE(QTest::qWaitFor([&] { return driver.at(s).closed; }, kWaitMs)) << "exchange did not end";
  EXPECT_EQ(driver.transport().component().openConnections(), 0);
  return std::move(driver.at(s));
}

TEST(ExchangeRouterTest, StartupChain) {
  RouterSim sim;
  ASSERT_TRUE(sim.ready());
  auto x = runExchange(sim.consolePort(), commands::startupChain() + commands::setClock("1999/5/3-9:7"));
  std::string text;
  for (const auto& a : x.answers) text += a;
  EXPECT_TRUE(contains(text, "MN128-SOHO.F"));
  EXPECT_TRUE(contains(text, "#0 "));
  EXPECT_TRUE(contains(text, "#15"));
  EXPECT_TRUE(contains(text, "B1チャネル："));
  EXPECT_TRUE(contains(text, "MN128-SOHO% sy t 1999/5/3-9:7"));
  EXPECT_EQ(x.events.front(), 'C');
  EXPECT_EQ(x.events.back(), 'X');
  EXPECT_EQ(x.events.find('X'), x.events.size() - 1);
  // Every answer but the last ends with its prompt line, so no line and
  // no status block is ever cut between two answers.
  for (std::size_t i = 0; i + 1 < x.answers.size(); ++i) {
    const std::string& a = x.answers[i];
    ASSERT_GE(a.size(), 2u);
    EXPECT_EQ(a.substr(a.size() - 2), "\n\r") << i;
    const std::size_t lineStart = a.rfind('\n', a.size() - 3);
    EXPECT_NE(a.find("% ", lineStart == std::string::npos ? 0 : lineStart), std::string::npos) << i;
  }
  // The banner and each command's output are separate answers.
  std::size_t statusAnswers = 0;
  for (const auto& a : x.answers) statusAnswers += contains(a, "B1チャネル：") && contains(a, "B2チャネル：");
  EXPECT_EQ(statusAnswers, 1u);
  EXPECT_EQ(sim.sessions(), 0);
}

// The core names the host before every exchange. A name is looked up once,
// while its text stays the same; the address found is used from then on.
TEST(ExchangeRouterTest, HostNameIsLookedUpOncePerAddressText) {
  RouterSim sim;
  ASSERT_TRUE(sim.ready());
  ExchangeDriver driver(sim.consolePort());
  TAsyncSock& sock = driver.transport().component();
  for (int exchange = 0; exchange < 4; ++exchange) {
    driver.transport().setHost("localhost");
    const SocketId s = driver.start(commands::poll());
    ASSERT_NE(s, kNoSocket);
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.at(s).closed; }, kWaitMs)) << exchange;
    EXPECT_TRUE(contains(driver.text(s), "B1チャネル：")) << exchange;
    EXPECT_EQ(sock.IPAddr(), "127.0.0.1") << exchange;
  }
  EXPECT_EQ(sock.lookupsStarted(), 1);
  // A new text is a new name: looked up again.
  driver.transport().setHost(" localhost ");
  EXPECT_EQ(sock.lookupsStarted(), 2);
}

TEST(ExchangeRouterTest, PollThenDialAndStatus) {
  RouterSim sim({"--connect-delay-ms", "0"});
  ASSERT_TRUE(sim.ready());
  auto poll = runExchange(sim.consolePort(), commands::poll());
  std::string text;
  for (const auto& a : poll.answers) text += a;
  EXPECT_TRUE(contains(text, "B1チャネル：空き"));
  EXPECT_TRUE(contains(text, "B2チャネル：空き"));

  auto dial = runExchange(sim.consolePort(), commands::dial(0));
  text.clear();
  for (const auto& a : dial.answers) text += a;
  EXPECT_TRUE(contains(text, "へ接続中．"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim.control("state").contains("connected:0"); }, kWaitMs));
  auto after = runExchange(sim.consolePort(), commands::poll());
  text.clear();
  for (const auto& a : after.answers) text += a;
  EXPECT_TRUE(contains(text, "Pアドレス["));
  EXPECT_FALSE(contains(text, "B1チャネル：空き"));
}

// Dial and disconnect do not wait for a running exchange: two exchanges
// run side by side, each event carrying its own socket, each output going
// to its own assembler.
TEST(ExchangeRouterTest, OverlappingExchanges) {
  RouterSim sim({"--fault", "slow", "--slow-ms", "100"});
  ASSERT_TRUE(sim.ready());
  ExchangeDriver driver(sim.consolePort());
  const SocketId first = driver.start(commands::history());
  const SocketId second = driver.start(commands::disconnectB2());
  const SocketId third = driver.start(commands::charges());
  EXPECT_LT(first, second);
  EXPECT_LT(second, third);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return driver.at(first).closed && driver.at(second).closed && driver.at(third).closed; },
      kWaitMs));
  const std::string a = driver.text(first), b = driver.text(second), c = driver.text(third);
  EXPECT_TRUE(contains(a, "MN128-SOHO% sh h"));
  EXPECT_FALSE(contains(a, "dis b2"));
  EXPECT_TRUE(contains(b, "MN128-SOHO% dis b2"));
  EXPECT_FALSE(contains(b, "show ch"));
  EXPECT_TRUE(contains(c, "MN128-SOHO% show ch"));
  EXPECT_FALSE(contains(c, "sh h"));
  for (SocketId s : {first, second, third}) {
    EXPECT_EQ(driver.at(s).events.front(), 'C');
    EXPECT_EQ(driver.at(s).events.back(), 'X');
  }
  EXPECT_EQ(driver.transport().component().openConnections(), 0);
}

// Output cut into pieces, dripped byte by byte, peppered with NULs or
// telnet negotiation gives the same answers as a clean console.
TEST(ExchangeRouterTest, MisshapenOutputGivesTheSameAnswers) {
  struct Case {
    QStringList args;
    std::string chain;
    bool manyPieces;
  };
  const std::vector<Case> cases{
      {{"--fault", "split", "--split-ms", "1"}, commands::startupChain(), true},
      {{"--fault", "drip", "--drip-ms", "1"}, commands::poll(), true},
      {{"--fault", "nul"}, commands::startupChain(), false},
      {{"--fault", "iac"}, commands::startupChain(), false},
      {{"--fault", "split", "--fault", "iac", "--fault", "nul", "--split-ms", "1"},
       commands::startupChain(),
       true},
  };
  std::map<std::string, std::vector<std::string>> clean;
  {
    RouterSim sim;
    ASSERT_TRUE(sim.ready());
    for (const std::string& chain : {commands::startupChain(), commands::poll()}) {
      clean[chain] = runExchange(sim.consolePort(), chain).answers;
      ASSERT_GE(clean[chain].size(), 4u);
    }
  }
  for (const Case& c : cases) {
    RouterSim sim(c.args);
    ASSERT_TRUE(sim.ready());
    auto x = runExchange(sim.consolePort(), c.chain);
    EXPECT_EQ(x.answers, clean[c.chain]) << c.args.join(' ').toStdString();
    if (c.manyPieces) {
      EXPECT_GT(std::count(x.events.begin(), x.events.end(), 'R'), 4) << c.args.join(' ').toStdString();
    }
  }
}

// Telnet negotiation: every request is refused, and the text stays clean.
TEST(ExchangeRouterTest, TelnetNegotiationIsRefused) {
  RouterSim sim({"--fault", "iac"});
  ASSERT_TRUE(sim.ready());
  auto x = runExchange(sim.consolePort(), commands::poll());
  ASSERT_FALSE(x.replies.empty());
  ASSERT_EQ(x.replies.size() % 3, 0u);
  for (std::size_t i = 0; i < x.replies.size(); i += 3) {
    EXPECT_EQ(static_cast<unsigned char>(x.replies[i]), 255);
    const auto verb = static_cast<unsigned char>(x.replies[i + 1]);
    EXPECT_TRUE(verb == 252 || verb == 254) << int(verb);  // WONT or DONT, never WILL or DO
  }
  for (const auto& a : x.answers) EXPECT_EQ(a.find('\xFF'), std::string::npos);
}

// A wrong password: the router refuses the login and the exchange still
// ends with the router's close.
TEST(ExchangeRouterTest, WrongPassword) {
  RouterSim sim({"--password", "secret"});
  ASSERT_TRUE(sim.ready());
  auto wrong = runExchange(sim.consolePort(), commands::poll(), "guess");
  std::string text;
  for (const auto& a : wrong.answers) text += a;
  EXPECT_TRUE(contains(text, "ログインできません。"));
  EXPECT_FALSE(contains(text, "B1チャネル："));
  EXPECT_EQ(wrong.events.back(), 'X');

  auto right = runExchange(sim.consolePort(), commands::poll(), "secret");
  text.clear();
  for (const auto& a : right.answers) text += a;
  EXPECT_TRUE(contains(text, "B1チャネル："));
}

// A router that never closes: the exchange's answers all arrive, and the
// owner's time-out can close the socket, which is then gone without any
// further event.
TEST(ExchangeRouterTest, RouterThatNeverClosesCanBeClosed) {
  RouterSim sim({"--fault", "hang"});
  ASSERT_TRUE(sim.ready());
  ExchangeDriver driver(sim.consolePort());
  const SocketId s = driver.start(commands::poll());
  ASSERT_TRUE(QTest::qWaitFor([&] { return contains(driver.text(s), "MN128-SOHO% l"); }, kWaitMs));
  QTest::qWait(200);  // proves silence: a router that closes would have done so by now
  EXPECT_FALSE(driver.at(s).closed);
  EXPECT_EQ(driver.transport().component().openConnections(), 1);
  EXPECT_EQ(sim.sessions(), 1);

  driver.transport().close(s);
  const std::string events = driver.at(s).events;
  EXPECT_EQ(driver.transport().component().openConnections(), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return sim.sessions() == 0; }, kWaitMs));
  EXPECT_EQ(driver.at(s).events, events);  // no close event for a socket we closed
}

TEST(ExchangeRouterTest, SilentRouterCanBeClosed) {
  RouterSim sim({"--fault", "silent"});
  ASSERT_TRUE(sim.ready());
  ExchangeDriver driver(sim.consolePort());
  const SocketId s = driver.start(commands::poll());
  ASSERT_TRUE(QTest::qWaitFor([&] { return driver.at(s).events == "C"; }, kWaitMs));
  QTest::qWait(100);  // proves silence: no answer and no close come from a silent router
  EXPECT_EQ(driver.at(s).events, "C");
  driver.transport().close(s);
  EXPECT_TRUE(QTest::qWaitFor([&] { return sim.sessions() == 0; }, kWaitMs));
}

// A console that closes at once, or in the middle of an answer: the close
// is reported after every byte that came before it.
TEST(ExchangeRouterTest, EarlyCloses) {
  {
    RouterSim sim({"--fault", "refuse"});
    ASSERT_TRUE(sim.ready());
    auto x = runExchange(sim.consolePort(), commands::poll());
    EXPECT_EQ(x.events.back(), 'X');
    EXPECT_EQ(std::count(x.events.begin(), x.events.end(), 'X'), 1);
  }
  {
    RouterSim sim({"--fault", "cut"});
    ASSERT_TRUE(sim.ready());
    auto x = runExchange(sim.consolePort(), commands::startupChain());
    EXPECT_EQ(x.events.back(), 'X');
    ASSERT_FALSE(x.answers.empty());
    EXPECT_FALSE(contains(x.answers.back(), "MN128-SOHO% l"));  // it never got that far
  }
}

// Events are handed over one at a time: a handler that runs a nested event
// loop gets no other event until it returns, and a socket closed inside a
// handler reports nothing more.
TEST(ExchangeRouterTest, EventsComeOneAtATimeInOrder) {
  RouterSim sim;
  ASSERT_TRUE(sim.ready());
  TAsyncSock sock;
  sock.setHost("127.0.0.1");
  sock.setPort(sim.consolePort());
  std::string log;
  bool inHandler = false;
  bool overlapped = false;
  qint64 closedInHandler = -1;
  auto enter = [&](char c, qint64 s) {
    if (inHandler) overlapped = true;
    log += c + std::to_string(s) + " ";
  };
  QObject::connect(&sock, &TAsyncSock::OnConnect, [&](qint64 s) {
    enter('C', s);
    inHandler = true;
    sock.SendText(s, QByteArray::fromStdString(loginBatch("", commands::poll(), "")));
    // The router's answer arrives while the handler still runs.
    int arrived = 0;
    for (QTcpSocket* tcp : sock.findChildren<QTcpSocket*>())
      QObject::connect(tcp, &QIODevice::readyRead, &sock, [&arrived] { ++arrived; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrived > 0; }, kWaitMs)) << "no answer during the handler";
    inHandler = false;
  });
  QObject::connect(&sock, &TAsyncSock::OnReceive, [&](qint64 s) {
    enter('R', s);
    QByteArray bytes = sock.Receive(s, 8192);
    EXPECT_FALSE(bytes.isEmpty());
    if (s == closedInHandler) sock.Close(s);
  });
  QObject::connect(&sock, &TAsyncSock::OnClose, [&](qint64 s) {
    enter('X', s);
    sock.Close(s);
  });
  const qint64 a = sock.Open(false);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return log.find("X" + std::to_string(a)) != std::string::npos; }, kWaitMs));
  EXPECT_FALSE(overlapped);
  EXPECT_EQ(log.rfind("C" + std::to_string(a), 0), 0u) << log;

  log.clear();
  const qint64 b = sock.Open(false);
  closedInHandler = b;
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return log.find("R" + std::to_string(b)) != std::string::npos; }, kWaitMs));
  QTest::qWait(200);  // proves silence: nothing more comes for a socket closed in its handler
  EXPECT_EQ(log, "C" + std::to_string(b) + " R" + std::to_string(b) + " ");
  EXPECT_EQ(sock.openConnections(), 0);
}

TEST(ExchangeRouterTest, ReuseFlagKeepsTheOpenConnection) {
  RouterSim sim({"--fault", "silent"});
  ASSERT_TRUE(sim.ready());
  TAsyncSock sock;
  sock.setHost("127.0.0.1");
  sock.setPort(sim.consolePort());
  QSignalSpy connects(&sock, &TAsyncSock::OnConnect);
  const qint64 first = sock.Open(false);
  ASSERT_TRUE(QTest::qWaitFor([&] { return connects.size() == 1; }, kWaitMs));
  EXPECT_EQ(sock.Open(true), first);
  EXPECT_GT(sock.SelfPort(), 0);
  const qint64 second = sock.Open(false);
  EXPECT_GT(second, first);
  ASSERT_TRUE(QTest::qWaitFor([&] { return connects.size() == 2; }, kWaitMs));
  EXPECT_EQ(connects.at(1).at(0).toLongLong(), second);
  sock.Close(first);
  sock.Close(second);
  EXPECT_EQ(sock.openConnections(), 0);
}

}  // namespace
}  // namespace tarvik

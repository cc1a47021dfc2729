// The headless program's transport over real loopback sockets: every
// outcome arrives as an event from the event loop, in order, and nothing
// arrives for a socket its owner has closed.
#include "headless/uvtransport.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarvik::app {
namespace {

struct Event {
  std::string kind;  // connected, received, closed
  SocketId socket;
  std::string bytes;
};

// A console on loopback, on the same loop: greets each client, reads what
// comes, and after `expect` bytes answers and closes.
class LoopbackServer {
 public:
  LoopbackServer(EventLoop& loop, std::size_t expect, std::string greeting, std::string answer)
      : loop_(loop), expect_(expect), greeting_(std::move(greeting)), answer_(std::move(answer)) {
    server_ = new uv_tcp_t{};
    uv_tcp_init(loop.uv(), server_);
    server_->data = this;
    sockaddr_in a{};
    uv_ip4_addr("127.0.0.1", 0, &a);
    uv_tcp_bind(server_, reinterpret_cast<const sockaddr*>(&a), 0);
    uv_listen(reinterpret_cast<uv_stream_t*>(server_), 8, [](uv_stream_t* s, int) {
      static_cast<LoopbackServer*>(s->data)->accept();
    });
    int len = sizeof a;
    uv_tcp_getsockname(server_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
  }
  ~LoopbackServer() {
    closeAndDelete(server_, reinterpret_cast<uv_handle_t*>(server_));
    for (Peer* p : peers_) closeAndDelete(p, reinterpret_cast<uv_handle_t*>(&p->tcp));
  }
  int port() const { return port_; }
  std::string got;

 private:
  struct Peer {
    uv_tcp_t tcp;
    LoopbackServer* server;
    std::size_t got = 0;
    char buffer[65536];
  };
  void write(Peer* p, const std::string& text) {
    if (text.empty()) return;
    auto* req = new uv_write_t{};
    auto* copy = new std::string(text);
    req->data = copy;
    uv_buf_t b = uv_buf_init(copy->data(), static_cast<unsigned>(copy->size()));
    uv_write(req, reinterpret_cast<uv_stream_t*>(&p->tcp), &b, 1, [](uv_write_t* r, int) {
      delete static_cast<std::string*>(r->data);
      delete r;
    });
  }
  void accept() {
    auto* p = new Peer{};
    p->server = this;
    uv_tcp_init(loop_.uv(), &p->tcp);
    p->tcp.data = p;
    uv_accept(reinterpret_cast<uv_stream_t*>(server_), reinterpret_cast<uv_stream_t*>(&p->tcp));
    peers_.push_back(p);
    write(p, greeting_);
    uv_read_start(
        reinterpret_cast<uv_stream_t*>(&p->tcp),
        [](uv_handle_t* h, std::size_t, uv_buf_t* b) {
          auto* peer = static_cast<Peer*>(h->data);
          *b = uv_buf_init(peer->buffer, sizeof peer->buffer);
        },
        [](uv_stream_t* s, ssize_t n, const uv_buf_t* b) {
          auto* peer = static_cast<Peer*>(s->data);
          if (n <= 0) return;
          peer->server->got.append(b->base, static_cast<std::size_t>(n));
          peer->got += static_cast<std::size_t>(n);
          if (peer->got >= peer->server->expect_) {
            uv_read_stop(s);
            peer->server->write(peer, peer->server->answer_);
            auto* shut = new uv_shutdown_t{};
            uv_shutdown(shut, s, [](uv_shutdown_t* r, int) { delete r; });
          }
        });
  }

  EventLoop& loop_;
  std::size_t expect_;
  std::string greeting_, answer_;
  uv_tcp_t* server_;
  int port_ = 0;
  std::vector<Peer*> peers_;
};

// A port where nothing listens: bound, then closed again.
int deadPort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  ::close(fd);
  return ntohs(a.sin_port);
}

class UvTransportTest : public testing::Test {
 protected:
  UvTransportTest()
      : transport(loop, {[this](SocketId s) {
                           events.push_back({"connected", s, ""});
                           onConnected(s);
                         },
                         [this](SocketId s, std::string_view b) { events.push_back({"received", s, std::string(b)}); },
                         [this](SocketId s) { events.push_back({"closed", s, ""}); }}) {
    std::signal(SIGPIPE, SIG_IGN);
  }

  bool runUntil(const std::function<bool()>& pred) { return loop.runUntil(pred, 5000); }
  bool has(const std::string& kind, SocketId s) {
    for (const Event& e : events)
      if (e.kind == kind && e.socket == s) return true;
    return false;
  }
  std::string receivedOn(SocketId s) {
    std::string all;
    for (const Event& e : events)
      if (e.kind == "received" && e.socket == s) all += e.bytes;
    return all;
  }

  std::function<void(SocketId)> onConnected = [](SocketId) {};
  std::vector<Event> events;
  EventLoop loop;
  UvTransport transport;
};

TEST_F(UvTransportTest, ExchangeConnectsSendsReceivesAndCloses) {
  const std::string batch(8 << 20, 'x');  // more than a socket buffer takes at once
  LoopbackServer server(loop, batch.size(), "login: ", "answer\n");
  transport.setHost("127.0.0.1");
  transport.setPort(server.port());
  onConnected = [&](SocketId s) { transport.send(s, batch); };
  SocketId s = transport.open();
  ASSERT_NE(s, kNoSocket);
  EXPECT_TRUE(events.empty()) << "nothing may be reported from inside open()";
  ASSERT_TRUE(runUntil([&] { return has("closed", s); }));
  EXPECT_EQ(events.front().kind, "connected");
  EXPECT_EQ(events.back().kind, "closed");
  EXPECT_EQ(receivedOn(s), "login: answer\n");
  EXPECT_EQ(server.got.size(), batch.size());
  EXPECT_EQ(transport.openSockets(), 0u);
}

TEST_F(UvTransportTest, HostNameIsLookedUpInTheBackground) {
  LoopbackServer server(loop, 3, "", "ok");
  transport.setHost(" localhost ");
  transport.setPort(server.port());
  onConnected = [&](SocketId s) { transport.send(s, "abc"); };
  SocketId s = transport.open();
  ASSERT_NE(s, kNoSocket);
  EXPECT_TRUE(events.empty());
  ASSERT_TRUE(runUntil([&] { return has("closed", s); }));
  EXPECT_EQ(receivedOn(s), "ok");
}

TEST_F(UvTransportTest, FailuresArriveAsCloseWithTheReason) {
  // (No unknown host name here: looking one up would ask a name server.)
  const int port = deadPort();
  for (const std::string host : {"127.0.0.1", ""}) {
    events.clear();
    transport.setHost(host);
    transport.setPort(port);
    SocketId s = transport.open();
    ASSERT_NE(s, kNoSocket) << host;
    EXPECT_TRUE(events.empty());
    ASSERT_TRUE(runUntil([&] { return has("closed", s); })) << host;
    ASSERT_EQ(events.size(), 1u) << host;
    EXPECT_EQ(transport.errorText().rfind("connect Error ", 0), 0u) << transport.errorText();
  }
  EXPECT_EQ(transport.openSockets(), 0u);
}

// No descriptor left when the lookup answers: the exchange ends at once
// with a close (not at the core's time-out), and says why.
TEST_F(UvTransportTest, SocketThatCannotBeMadeAfterTheLookupEndsTheExchange) {
  LoopbackServer server(loop, 1, "", "");
  transport.setHost("localhost");
  transport.setPort(server.port());
  SocketId s = transport.open();
  ASSERT_NE(s, kNoSocket);
  // Use up every descriptor the process may have before the answer comes.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  std::vector<int> hogs;
  for (int fd; (fd = ::dup(0)) >= 0;) hogs.push_back(fd);
  const bool ended = runUntil([&] { return has("closed", s); });
  for (int fd : hogs) ::close(fd);
  ASSERT_TRUE(ended);
  EXPECT_FALSE(has("connected", s));
  EXPECT_EQ(transport.errorText().rfind("Soketが獲得できない。 ", 0), 0u) << transport.errorText();
  EXPECT_EQ(transport.openSockets(), 0u);
}

TEST_F(UvTransportTest, NothingArrivesAfterTheOwnerClosed) {
  LoopbackServer server(loop, 1, "hello", "bye");
  transport.setHost("127.0.0.1");
  transport.setPort(server.port());
  SocketId first = transport.open();
  SocketId second = transport.open();
  onConnected = [&](SocketId s) {
    if (s == first) {
      transport.close(first);  // closed inside its own event
    } else {
      transport.send(s, "z");
    }
  };
  ASSERT_TRUE(runUntil([&] { return has("closed", second); }));
  for (const Event& e : events) {
    if (e.socket == first) {
      EXPECT_EQ(e.kind, "connected") << "event after close: " << e.kind;
    }
  }
  EXPECT_EQ(receivedOn(second), "hellobye");
  EXPECT_EQ(transport.openSockets(), 0u);
  // Sending on a closed socket reports, never throws or crashes.
  EXPECT_FALSE(transport.send(first, "late"));
  EXPECT_NE(transport.errorText().find("Send Error "), std::string::npos);
}

// A send the socket refuses (here: not connected yet) says so, with the
// "Send Error " text, instead of vanishing; it reports no event.
TEST_F(UvTransportTest, RefusedSendIsReported) {
  LoopbackServer server(loop, 1, "", "");
  transport.setHost("127.0.0.1");
  transport.setPort(server.port());
  SocketId s = transport.open();
  EXPECT_FALSE(transport.send(s, "too early"));
  EXPECT_EQ(transport.errorText().rfind("Send Error ", 0), 0u) << transport.errorText();
  EXPECT_FALSE(transport.send(12345, "nobody's"));
  ASSERT_TRUE(runUntil([&] { return has("connected", s); }));
  EXPECT_TRUE(transport.send(s, "x"));
  transport.close(s);
}

}  // namespace
}  // namespace tarvik::app

// The headless program's transport over real loopback sockets: the
// transport contract (tests/support/contracts), and what only libuv's
// adapter has to show.
#include "headless/uvtransport.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contracts/loopbackconsole.h"
#include "contracts/transportcontract.h"

namespace tarvik::app {
namespace {

using namespace tarvik::contracts;

struct UvTransportDriver {
  // A write to a peer that has gone must not end the test program.
  UvTransportDriver() { std::signal(SIGPIPE, SIG_IGN); }
  Transport& make(TransportEvents events) {
    adapter = std::make_unique<UvTransport>(loop, std::move(events));
    return *adapter;
  }
  bool runUntil(const std::function<bool()>& done, int timeoutMs) { return loop.runUntil(done, timeoutMs); }
  std::size_t openSockets() const { return adapter->openSockets(); }

  EventLoop loop;
  std::unique_ptr<UvTransport> adapter;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Uv, TransportContract, ::testing::Types<UvTransportDriver>);

class UvTransportTest : public TransportContract<UvTransportDriver> {};

// No descriptor left when the lookup answers: the exchange ends at once
// with a close (not at the core's time-out), and says why.
TEST_F(UvTransportTest, SocketThatCannotBeMadeAfterTheLookupEndsTheExchange) {
  connectTo("localhost", unusedLoopbackPort());
  const SocketId s = transport.open();
  ASSERT_NE(s, kNoSocket);
  // Use up every descriptor the process may have before the answer comes.
  std::vector<int> hogs;
  for (int fd; (fd = ::dup(0)) >= 0;) hogs.push_back(fd);
  const bool ended = runUntil([&] { return has("closed", s); });
  for (int fd : hogs) ::close(fd);
  ASSERT_TRUE(ended);
  EXPECT_FALSE(has("connected", s));
  EXPECT_TRUE(startsWith(transport.errorText(), "Soketが獲得できない。 ")) << transport.errorText();
  EXPECT_EQ(driver.openSockets(), 0u);
}

}  // namespace
}  // namespace tarvik::app

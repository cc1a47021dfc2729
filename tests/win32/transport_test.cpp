// The Winsock transport against the transport contract
// (tests/support/contracts) over real loopback sockets, its events coming
// through the thread's message loop; and the texts of its errors.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "contracts/transportcontract.h"
#include "pump.h"
#include "win32/winsocktransport.h"

namespace tarvik::win32 {
namespace {

using namespace tarvik::contracts;

struct WinsockTransportDriver {
  Transport& make(tarvik::TransportEvents events) {
    adapter = std::make_unique<WinsockTransport>(
        window, TransportEvents{std::move(events.connected), std::move(events.received), std::move(events.closed)});
    return *adapter;
  }
  bool runUntil(const std::function<bool()>& done, int timeoutMs) {
    return testing::pumpUntil(done, static_cast<DWORD>(timeoutMs));
  }
  std::size_t openSockets() const { return adapter->openSockets(); }

  WinsockSession winsock;
  MessageWindow window;
  std::unique_ptr<WinsockTransport> adapter;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win, TransportContract, ::testing::Types<WinsockTransportDriver>);

class WinsockTransportTest : public TransportContract<WinsockTransportDriver> {};

// The texts after the prefixes: a fixed one for a send before the
// connection is up, the system's own for a refused connect.
TEST_F(WinsockTransportTest, ErrorTextsAfterTheirPrefixes) {
  LoopbackConsole console("", {});
  connectTo("127.0.0.1", console.port());
  const SocketId s = transport.open();
  EXPECT_FALSE(transport.send(s, "admin\r"));
  EXPECT_EQ(transport.errorText(), "Send Error Socket is not connected");
  transport.close(s);

  connectTo("127.0.0.1", unusedLoopbackPort());
  const SocketId refused = transport.open();
  ASSERT_TRUE(runUntil([&] { return has("closed", refused); }));
  EXPECT_EQ(transport.errorText(), "connect Error " + winsockErrorText(WSAECONNREFUSED));
}

}  // namespace
}  // namespace tarvik::win32

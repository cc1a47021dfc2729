// The desktop program's transport (AsyncSockTransport on TAsyncSock) against
// the transport contract (tests/support/contracts) over real loopback
// sockets. TAsyncSock's own behaviour is in tasyncsock_test.cpp.

#include "qt/socket/asyncsocktransport.h"

#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <memory>

#include "contracts/transportcontract.h"

namespace tarvik {
namespace {

using namespace tarvik::contracts;

struct AsyncSockTransportDriver {
  Transport& make(TransportEvents events) {
    adapter = std::make_unique<AsyncSockTransport>(std::move(events));
    return *adapter;
  }
  bool runUntil(const std::function<bool()>& done, int timeoutMs) { return QTest::qWaitFor(done, timeoutMs); }
  std::size_t openSockets() { return static_cast<std::size_t>(adapter->component().openConnections()); }

  std::unique_ptr<AsyncSockTransport> adapter;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, TransportContract, ::testing::Types<AsyncSockTransportDriver>);

}  // namespace
}  // namespace tarvik

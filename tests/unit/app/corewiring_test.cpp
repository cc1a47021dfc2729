// The one wiring of engine and ports: each timer's tick and each socket
// event reaches the core's handler for it, and nothing reaches a core that
// has gone.

#include "app/corewiring.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "fakes/fakeports.h"
#include "fakes/routeroutput.h"
#include "fakes/testdir.h"

namespace tarvik::app {
namespace {

using namespace tarvik::test;

// Timers whose ticks the test delivers through the handlers the wiring set.
struct HandlerTimers : FakeTimers {
  std::map<TimerId, std::function<void()>> handlers;
  void fire(TimerId id) {
    ASSERT_TRUE(handlers[id]) << "no handler for timer " << static_cast<int>(id);
    handlers[id]();
  }
};

class CoreWiringTest : public ::testing::Test {
 protected:
  CoreWiringTest() {
    SettingsStore settings = core().settings();
    settings.tarvik.SOHOIP = "127.0.0.1";
    core().applySettings(settings);
  }
  TarvikCore& core() {
    if (!wiring.core()) {
      wiring.createCore({view, prompter, sound, browser, launcher, transport, {}}, dir.path());
    }
    return *wiring.core();
  }

  tarvik::testing::TestDir dir;
  Events events;
  FakeView view{events};
  FakePrompter prompter{events};
  FakeSound sound{events};
  FakeBrowser browser;
  FakeLauncher launcher{events};
  FakeClock clock;
  HandlerTimers timers;
  FakeTransport transport{events};
  CoreWiring wiring{
      timers, [this](TimerId id, std::function<void()> h) { timers.handlers[id] = std::move(h); }, clock};
  TransportEvents socketEvents = wiring.transportEvents();
};

TEST_F(CoreWiringTest, TicksAndSocketEventsReachTheHandlersNamedAfterThem) {
  core().FormShow();  // opens the start-up exchange and starts the poll tick
  ASSERT_EQ(transport.opened.size(), 1u);
  const SocketId startup = transport.opened.back();

  socketEvents.connected(startup);  // AsyncSock1Connect sends the login batch
  ASSERT_EQ(transport.sent[startup].size(), 1u);
  // AsyncSock1Receive: a router that answers, with nothing to reply to.
  socketEvents.received(startup, exchange({{"sh s", statusBlock()}}));
  EXPECT_EQ(transport.sent[startup].size(), 1u);
  socketEvents.closed(startup);  // AsyncSock1Close ends the exchange
  EXPECT_EQ(transport.closed, std::vector<SocketId>{startup});

  timers.fire(TimerId::Timer1);  // Timer1Timer: the status poll
  ASSERT_EQ(transport.opened.size(), 2u);

  // The watchdog ends an exchange the router answers and never closes.
  socketEvents.connected(transport.opened.back());
  socketEvents.received(transport.opened.back(), exchange({{"sh s", statusBlock()}}));
  clock.advance(31000);
  timers.fire(TimerId::ExchangeWatchdog);
  EXPECT_EQ(transport.closed.size(), 2u);

  const std::size_t before = events.size();
  timers.fire(TimerId::Timer2);  // Timer2Timer: the elapsed time on the status line
  ASSERT_EQ(events.size(), before + 1);
  EXPECT_EQ(events.back().rfind("status ", 0), 0u) << events.back();

  timers.timers[TimerId::TIMEMAN].active = true;
  timers.fire(TimerId::TIMEMAN);  // TIMEMANTimer stops itself before the fetch
  EXPECT_FALSE(timers.isActive(TimerId::TIMEMAN));
}

TEST_F(CoreWiringTest, NothingReachesACoreThatHasGone) {
  core().FormShow();
  const SocketId startup = transport.opened.back();
  wiring.destroyCore();

  for (TimerId id : kTimerIds) {
    EXPECT_FALSE(timers.handlers[id]) << "timer " << static_cast<int>(id) << " still has a handler";
    EXPECT_FALSE(timers.isActive(id));
  }
  // A socket event on its way when the core went is dropped.
  socketEvents.connected(startup);
  socketEvents.received(startup, "% ");
  socketEvents.closed(startup);
  EXPECT_TRUE(transport.sent.empty());
}

}  // namespace
}  // namespace tarvik::app

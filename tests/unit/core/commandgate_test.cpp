// The one point where commands enter the engine: nothing runs before the
// settings are in or after FormClose, and a failure never escapes into the
// front end's event loop.

#include <stdexcept>

#include "corefixture.h"

namespace tarvik::coretest {
namespace {

TEST_F(CoreTest, NothingRunsAfterFormClose) {
  start();
  const SocketId startup = lastSocket();
  core->FormClose();
  const std::size_t eventsBefore = events.size(), openedBefore = transport.opened.size();
  const std::size_t closedBefore = transport.closed.size();

  core->ConnectFromMenu(1);
  core->DiscBtnClick();
  core->Edit1Click();
  core->Timer1Timer();
  core->Timer2Timer();
  core->AsyncSock1Connect(startup);
  core->AsyncSock1Receive(startup, "% ");
  EXPECT_TRUE(core->FormCloseQuery(placement())) << "nothing holds the window after the close";

  EXPECT_EQ(std::vector<std::string>(events.begin() + eventsBefore, events.end()),
            std::vector<std::string>{});
  EXPECT_EQ(transport.opened.size(), openedBefore);
  EXPECT_EQ(transport.closed.size(), closedBefore);
  EXPECT_EQ(view.box[0], "");
}

TEST_F(CoreTest, OnlyTheArgumentsComeBeforeTheSettings) {
  TarvikCore fresh(CorePorts{view, transport, timers, sound, launcher, browser, clock, prompter},
                   SettingsFiles(dir / "fresh"));
  fresh.FormCreate({"co"});
  fresh.FormShow();
  fresh.Timer1Timer();
  EXPECT_TRUE(transport.opened.empty()) << "an exchange to a router no setting names yet";
  EXPECT_EQ(view.status, "");

  SettingsStore settings = fresh.settings();
  settings.tarvik.SOHOIP = "192.168.0.1";
  fresh.applySettings(settings);
  fresh.FormShow();
  ASSERT_EQ(transport.opened.size(), 1u);
  EXPECT_EQ(transport.host, "192.168.0.1");
  EXPECT_EQ(view.status, "待機中");
}

// A transport that fails in a way it should not: by throwing.
struct ThrowingTransport : FakeTransport {
  using FakeTransport::FakeTransport;
  SocketId open() override { throw std::runtime_error("no sockets left"); }
};

TEST_F(CoreTest, AFailureIsShownForTheUserAndDroppedForATick) {
  ThrowingTransport broken(events);
  TarvikCore shaky(CorePorts{view, broken, timers, sound, launcher, browser, clock, prompter},
                   SettingsFiles(dir));
  shaky.applySettings(core->settings());

  shaky.B1DiscClick();  // the user pressed it: told
  EXPECT_EQ(view.errors, std::vector<std::string>{"no sockets left"});
  shaky.Timer1Timer();  // a poll tick: the next one tries again
  EXPECT_EQ(view.errors.size(), 1u);
}

}  // namespace
}  // namespace tarvik::coretest

// Start-up chain, command-line arguments, the exchange bookkeeping and the
// way out.

#include <sys/stat.h>

#include "corefixture.h"
#include "engine/base/pathtext.h"
#include "engine/net/exchange.h"
#include "engine/settings/password.h"

namespace tarvik::coretest {
namespace {

TEST_F(CoreTest, StartupChainDestinationsBannerAndPollTimer) {
  start();
  EXPECT_EQ(view.status, "待機中");
  EXPECT_EQ(view.jigen, "時限切断 [7:58]");
  EXPECT_EQ(transport.host, "192.168.0.1");
  EXPECT_EQ(transport.port, 23);
  EXPECT_EQ(timers.timers[TimerId::Timer1].intervalMs, 5000);
  EXPECT_FALSE(timers.timers[TimerId::Timer1].singleShot);
  EXPECT_EQ(chainOf(lastSocket()), "sh ver\rsh r l\rsh s\rsh r l\r");
  EXPECT_FALSE(core->exchangeIdle());

  settings()->tarvik.DEFAULT = 2;
  answer(lastSocket(), exchange({{"sh ver", "MN128-SOHO.F Ver 2.10\n\n"},
                                 {"sh r l", destinationLines({"プロバイダ0", "プロバイダ1", "オフィス"})},
                                 {"sh s", statusBlock()}}));
  EXPECT_TRUE(core->exchangeIdle());
  EXPECT_EQ(view.version, "MN128-SOHO.F Ver 2.10");
  EXPECT_EQ(view.captions[2], "#2  オフィス");
  EXPECT_EQ(view.captions[15], "#15");
  EXPECT_TRUE(toUtf8(core->destinationList()[2]).starts_with("#2  オフィス  "))
      << toUtf8(core->destinationList()[2]);
  EXPECT_EQ(view.hint, toUtf8(core->destinationList()[2]));
  EXPECT_EQ(view.box[0], "空き");
  EXPECT_EQ(view.tip, "B1 空き / B2 空き");
}

// What the load did not take from a hand-edited Tarvik.ini is told once,
// on the status line as a fault to notice (never in a box), when the
// window shows; the file stays as it is.
TEST_F(CoreTest, MistypedSettingsAreToldOnceWhenTheWindowShows) {
  struct Case {
    std::string ini;
    int intervalMs;
    std::string told;  // empty: nothing
  };
  const Case cases[] = {
      {"[Tarvik]\r\nSOHOIP=192.168.0.1\r\n[OPTION]\r\nTIME=10\r\n", 10000, ""},
      {"[Tarvik]\r\nSOHOIP=192.168.0.1\r\n[OPTION]\r\nTIME=abc\r\nCHECK4=yes\r\n", 5000,
       "Tarvik.ini の読めない設定: [OPTION] TIME=abc (5 を使用)、[OPTION] CHECK4=yes (0 を使用)。"
       "Tarvik.ini を直してください"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    writeFile("Tarvik.ini", c.ini);
    TarvikCore fresh(CorePorts{view, transport, timers, sound, launcher, browser, clock, prompter},
                     SettingsFiles(dir));
    fresh.FormCreate({});
    fresh.loadSettings();
    EXPECT_EQ(fresh.settingsNotice(), c.told);
    const std::size_t before = events.size();
    fresh.FormShow();
    const std::vector<std::string> told = eventsSince(before, {"status Tarvik.ini", "error"});
    EXPECT_EQ(told,
              c.told.empty() ? std::vector<std::string>{} : std::vector<std::string>{"status " + c.told});
    EXPECT_EQ(view.status, c.told.empty() ? "待機中" : c.told);
    EXPECT_EQ(timers.timers[TimerId::Timer1].intervalMs, c.intervalMs);
    EXPECT_EQ(readFile("Tarvik.ini"), c.ini);
    fresh.FormClose();
  }
}

TEST_F(CoreTest, ClockCommandWithCheck12) {
  settings()->option.setRouterClock = true;
  clock.time = {1999, 5, 3, 9, 7, 0};
  start();
  EXPECT_EQ(view.status, "1999/5/3-9:7");
  EXPECT_EQ(chainOf(lastSocket()), "sh ver\rsh r l\rsh s\rsh r l\r\rsy t 1999/5/3-9:7");
}

TEST_F(CoreTest, PollIntervalFromSettingsOrOverride) {
  settings()->option.TIME = "12";
  start();
  EXPECT_EQ(timers.timers[TimerId::Timer1].intervalMs, 12000);
  core->setPollIntervalOverrideMs(50);
  EXPECT_EQ(timers.timers[TimerId::Timer1].intervalMs, 50);
}

TEST_F(CoreTest, LoginBatchCarriesPasswordChainAndCode) {
  settings()->tarvik.PASS = "secret";
  settings()->kanji.CODE = "sys kc e";
  start();
  core->AsyncSock1Connect(lastSocket());
  EXPECT_EQ(transport.sent[lastSocket()].front(),
            loginBatch("secret", "sh ver\rsh r l\rsh s\rsh r l\r", "sys kc e"));
}

TEST_F(CoreTest, ArgumentsActOnceAtTheFirstConnect) {
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> chains;
  } cases[] = {
      {{"-CO"}, {"co 3\rsh s"}},
      {{"b1b2"}, {"dis b1\rsh s", "dis b2\rsh s"}},
      {{"Co", "B2"}, {"co 3\rsh s", "dis b2\rsh s"}},
      {{"xyz"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    settings()->tarvik.DEFAULT = 3;
    start(c.arguments);
    SocketId first = lastSocket();
    std::size_t before = transport.opened.size();
    chainOf(first);  // the connect acts on the arguments
    // Each action is an exchange of its own, carrying its own chain.
    EXPECT_EQ(chainsSince(before), c.chains);
    answer(first, exchange({{"sh s", statusBlock()}}));
    before = transport.opened.size();
    poll(statusBlock());
    EXPECT_EQ(transport.opened.size(), before + 1);  // only the poll: arguments are done
  }
}

TEST_F(CoreTest, ASecondStartsWordsActAtOnceOrWithTheStartsOwn) {
  settings()->tarvik.DEFAULT = 3;
  // Before the first exchange has come up, they join the start's own words.
  start({"b2"});
  SocketId first = lastSocket();
  core->SecondStart({"co"});
  std::size_t before = transport.opened.size();
  EXPECT_EQ(before, 1u) << "nothing goes out before the first exchange is up";
  chainOf(first);
  EXPECT_EQ(chainsSince(before), (std::vector<std::string>{"dis b2\rsh s", "co 3\rsh s"}));
  answer(first, exchange({{"sh s", statusBlock()}}));
  poll(statusBlock());

  // Later, at once, each action an exchange of its own; a start without
  // words does nothing.
  before = transport.opened.size();
  core->SecondStart({});
  EXPECT_EQ(transport.opened.size(), before);
  core->SecondStart({"B1", "co"});
  EXPECT_EQ(chainsSince(before), (std::vector<std::string>{"dis b1\rsh s", "co 3\rsh s"}));
}

TEST_F(CoreTest, PollOnlyWhenIdleAndMonitoring) {
  start();
  SocketId startup = lastSocket();
  chainOf(startup);  // connected: an exchange is running
  std::size_t before = transport.opened.size();
  tick();
  EXPECT_EQ(transport.opened.size(), before);
  core->B1DiscClick();  // a command does not wait
  EXPECT_EQ(chainOf(lastSocket()), "dis b1\rsh s");
  answer(startup, "");
  answer(lastSocket(), "");
  poll(statusBlock());
  // No monitoring: no poll, but commands still go out.
  settings()->option.monitoringOff = true;
  before = transport.opened.size();
  tick();
  EXPECT_EQ(transport.opened.size(), before);
  core->B2DiscClick();
  EXPECT_EQ(transport.opened.size(), before + 1);
}

TEST_F(CoreTest, ExchangeTimesOutAfterThirtySeconds) {
  start();
  SocketId socket = lastSocket();
  chainOf(socket);
  // Output without the prompt that would complete its answer, and no close.
  core->AsyncSock1Receive(socket, exchange({{"sh s", statusBlock(connected("10.1.2.3"))}}).substr(0, 400));
  EXPECT_TRUE(timers.isActive(TimerId::ExchangeWatchdog));
  clock.advance(29999);
  core->ExchangeWatchdogTimer();
  EXPECT_TRUE(transport.closed.empty());
  EXPECT_FALSE(core->exchangeIdle());
  clock.advance(1);
  core->ExchangeWatchdogTimer();
  EXPECT_EQ(transport.closed, std::vector<SocketId>{socket});
  EXPECT_TRUE(core->exchangeIdle());
  EXPECT_FALSE(timers.isActive(TimerId::ExchangeWatchdog));
  // What had arrived counts as its last answer.
  EXPECT_EQ(toUtf8(core->channel(Channel::B1).text(ChannelState::StatusText)), "通信中（発信）");
  std::size_t before = transport.opened.size();
  tick();
  EXPECT_EQ(transport.opened.size(), before + 1);  // polling again
}

TEST_F(CoreTest, FailedConnectFreesTheSocketAndKeepsExchangeIdle) {
  start();
  tick();  // the start-up exchange is still connecting: no second socket
  EXPECT_EQ(transport.opened.size(), 1u);
  core->AsyncSock1Close(lastSocket());  // never connected: the start-up connect failed
  EXPECT_EQ(transport.closed, std::vector<SocketId>{1});
  EXPECT_TRUE(core->exchangeIdle());

  tick();
  SocketId running = lastSocket();
  core->AsyncSock1Connect(running);
  core->DiscBtnClick();
  core->AsyncSock1Close(lastSocket());  // its connect failed
  EXPECT_FALSE(core->exchangeIdle());   // the poll is still running
  answer(running, exchange({{"sh s", statusBlock()}}));
  EXPECT_TRUE(core->exchangeIdle());
  EXPECT_FALSE(timers.isActive(TimerId::ExchangeWatchdog));
}

TEST_F(CoreTest, TelnetOffersAreRefused) {
  start();
  SocketId socket = lastSocket();
  chainOf(socket);
  core->AsyncSock1Receive(socket, std::string("\xFF\xFD\x18\xFF\xFB\x01", 6));
  ASSERT_EQ(transport.sent[socket].size(), 2u);
  EXPECT_EQ(transport.sent[socket][1], std::string("\xFF\xFC\x18\xFF\xFE\x01", 6));
}

TEST_F(CoreTest, OpenFailureIsShownExceptForThePoll) {
  start();
  answer(lastSocket(), exchange({{"sh s", statusBlock()}}));
  transport.failOpen = true;
  tick();
  EXPECT_TRUE(view.errors.empty());
  core->DiscBtnClick();
  EXPECT_EQ(view.errors, std::vector<std::string>{"cannot open"});
}

// The socket component's "Send Error" reaches the user: every time for the
// user's own exchanges, once for the polls until a send goes through again.
// A router that resets the connection while the program still refuses its
// telnet requests: the batch went out, the refusals cannot. A poll's
// failure is told on the status line once until an exchange goes through
// again, never as a box; a user's command is told in a box, once.
TEST_F(CoreTest, SendFailureIsShownForTheUsersExchangesAndOnceForThePolls) {
  start();
  answer(lastSocket(), exchange({{"sh s", statusBlock()}}));
  transport.error = "Send Error Connection reset by peer";
  const std::string iacDoTerminalType = "\xFF\xFD\x18";
  auto exchangeThatBreaks = [&] {
    core->AsyncSock1Connect(lastSocket());
    transport.failSend = true;
    core->AsyncSock1Receive(lastSocket(), iacDoTerminalType);
    core->AsyncSock1Receive(lastSocket(), iacDoTerminalType);
    core->AsyncSock1Close(lastSocket());
    transport.failSend = false;
  };
  auto toldOnStatusLine = [&] { return eventsSince(0, {"status Send Error"}).size(); };
  for (int poll = 0; poll < 3; ++poll) {
    tick();
    exchangeThatBreaks();
  }
  EXPECT_EQ(toldOnStatusLine(), 1u);
  EXPECT_TRUE(view.errors.empty()) << "no box for a poll";

  core->DiscBtnClick();
  exchangeThatBreaks();
  EXPECT_EQ(view.errors, std::vector<std::string>{"Send Error Connection reset by peer"});

  poll(statusBlock());
  tick();
  exchangeThatBreaks();
  EXPECT_EQ(toldOnStatusLine(), 2u) << "told again after an exchange went through";
  EXPECT_TRUE(core->exchangeIdle());
}

// --- the way out ---

TEST_F(CoreTest, DisconnectOnExitAsksThenClosesAfterTheDisconnection) {
  settings()->option.disconnectOnExit = true;
  start();
  answer(lastSocket(), exchange({{"sh s", statusBlock({}, connected("10.0.0.9"))}}));
  settings()->option.left = 123;

  EXPECT_FALSE(core->FormCloseQuery(placement()));
  EXPECT_FALSE(core->FormCloseQuery(placement()));  // asked once while the question is open
  EXPECT_EQ(eventsSince(0, {"ask-disconnect"}).size(), 1u);
  EXPECT_NE(readFile("Tarvik.ini").find("left=123"), std::string::npos);  // saved all the same

  core->DisconnectQuestionAnswered(true);
  EXPECT_EQ(chainOf(lastSocket()), "dis a\rsh s");
  answer(lastSocket(), exchange({{"dis a", "B2チャネルを切断しました。\n  切断理由：ユーザ要求\n"},
                                 {"sh s", statusBlock()}}));
  EXPECT_EQ(view.closeRequests, 1);
  EXPECT_EQ(view.status, "  切断理由：ユーザ要求");
  std::size_t before = transport.opened.size();
  tick();
  EXPECT_EQ(transport.opened.size(), before);  // no more polls
  EXPECT_TRUE(core->FormCloseQuery(placement()));
  core->FormClose();
  EXPECT_FALSE(timers.isActive(TimerId::Timer1));
}

TEST_F(CoreTest, ExitQuestionOnlyForAChannelInUse) {
  struct Case {
    bool disconnectOnExit;
    Chan b1, b2;
    bool closesAtOnce;
  } cases[] = {
      {true, {}, {}, true},
      {true, connected("1.2.3.4"), {}, false},
      {true, Chan{"発信中（プロバイダ0へ接続中）", "", "", "", "", ""}, {}, false},  // too long: empty status
      {false, connected("1.2.3.4"), {}, true},
  };
  for (const Case& c : cases) {
    settings()->option.disconnectOnExit = c.disconnectOnExit;
    start();
    answer(lastSocket(), exchange({{"sh s", statusBlock(c.b1, c.b2)}}));
    EXPECT_EQ(core->FormCloseQuery(placement()), c.closesAtOnce);
    if (!c.closesAtOnce) {
      // Cancel: the line stays up and the next request closes.
      core->DisconnectQuestionAnswered(false);
      EXPECT_TRUE(core->FormCloseQuery(placement()));
    }
  }
}

TEST_F(CoreTest, ExitWithUnknownChannelStateDoesNotAsk) {
  settings()->option.disconnectOnExit = true;
  start();  // the router never answered
  EXPECT_TRUE(core->FormCloseQuery(placement()));
}

TEST_F(CoreTest, CloseWhileParkedKeepsTop) {
  writeFile("Tarvik.ini", "[OPTION]\r\ntop=77\r\n");
  start();
  settings()->option.top = -300;
  settings()->option.left = 5;
  EXPECT_TRUE(core->FormCloseQuery(placement(true)));
  std::string ini = readFile("Tarvik.ini");
  EXPECT_NE(ini.find("top=77"), std::string::npos);
  EXPECT_NE(ini.find("left=5"), std::string::npos);
}

#ifndef _WIN32  // file modes: on Windows the folder's access list decides
// A Tarvik.ini that others may read is made the owner's alone by the first
// save that holds the password, and the status line says so that once.
TEST_F(CoreTest, TheStatusLineSaysOnceThatThePasswordFileWasMadePrivate) {
  writeFile("Tarvik.ini", "[Tarvik]\r\nSOHOIP=192.168.0.1\r\nPASS=" + encodePassword("secret") + "\r\n");
  ::chmod((dir / "Tarvik.ini").c_str(), 0644);
  start();
  EXPECT_TRUE(core->FormCloseQuery(placement()));
  EXPECT_EQ(view.status, kMadeOwnerOnly);
  struct stat st {};
  ASSERT_EQ(::stat((dir / "Tarvik.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  view.status.clear();
  EXPECT_TRUE(core->FormCloseQuery(placement()));
  EXPECT_EQ(view.status, "") << "said once";
}
#endif

// The end of the session (or SIGTERM) saves what a close saves, in use or
// not, parked or not, and never asks: nobody is there to answer.
TEST_F(CoreTest, TheEndOfTheSessionSavesTheWindowStateWithoutTheQuestion) {
  writeFile("Tarvik.ini", "[OPTION]\r\ntop=77\r\n");
  settings()->option.disconnectOnExit = true;
  start();
  answer(lastSocket(), exchange({{"sh s", statusBlock({}, connected("10.0.0.9"))}}));
  core->Edit1Click();  // B1 shows its next item
  ASSERT_NE(core->channel(Channel::B1).DisplayIndex, 0);
  settings()->option.left = 123;
  settings()->option.top = -300;  // parked: the file keeps the top it returns to
  core->EndSession(placement(true));
  core->EndSession(placement(true));
  EXPECT_TRUE(eventsSince(0, {"ask-disconnect"}).empty()) << "a channel is in use, yet nothing is asked";
  const std::string ini = readFile("Tarvik.ini");
  EXPECT_NE(ini.find("left=123"), std::string::npos) << ini;
  EXPECT_NE(ini.find("top=77"), std::string::npos) << ini;
  EXPECT_NE(ini.find("B1=" + std::to_string(core->channel(Channel::B1).DisplayIndex)), std::string::npos)
      << ini;
  EXPECT_FALSE(timers.isActive(TimerId::Timer1));
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(CoreTest, FormCloseClosesEveryOpenSocket) {
  start();
  core->DiscBtnClick();
  core->FormClose();
  EXPECT_EQ(transport.closed, (std::vector<SocketId>{1, 2}));
  for (TimerId id : {TimerId::Timer1, TimerId::Timer2, TimerId::TIMEMAN, TimerId::ExchangeWatchdog}) {
    EXPECT_FALSE(timers.isActive(id));
  }
}

TEST_F(CoreTest, TheCloseRequestSavesWhereTheWindowsStand) {
  start();
  EXPECT_TRUE(core->FormCloseQuery(WindowPlacement{12, 34, false, 56, 78, 500, 300}));
  const std::string ini = readFile("Tarvik.ini");
  for (const char* key : {"left=12", "top=34", "left2=56", "top2=78", "Width2=500", "Height2=300"}) {
    EXPECT_NE(ini.find(key), std::string::npos) << key;
  }
  EXPECT_EQ(core->settings().option.left2, 56);
}

TEST_F(CoreTest, TheSettingsDialogSaveGoesThroughTheEngine) {
  start();
  core->Config();
  SettingsStore edited = core->settings();
  edited.option.TIME = "1";  // below 2: saved as 5
  edited.tarvik.SOHOIP = "10.0.0.9";
  EXPECT_EQ(core->ConfigClosed(edited, {}), "");
  EXPECT_EQ(core->settings().option.TIME, "5");
  EXPECT_NE(readFile("Tarvik.ini").find("SOHOIP=10.0.0.9"), std::string::npos);
  core->B1DiscClick();
  EXPECT_EQ(transport.host, "10.0.0.9");

  edited = core->settings();
  edited.option.TIME = "x";  // not an integer: the save stops, the dialog stays
  edited.tarvik.SOHOIP = "10.0.0.10";
  EXPECT_NE(core->ConfigClosed(edited, {}), "");
  core->B1DiscClick();
  EXPECT_EQ(transport.host, "10.0.0.9") << "the router address waits for a valid interval";

  // A settings file that cannot be written: the settings are in force all the same.
  std::filesystem::remove(path("Tarvik.ini"));
  std::filesystem::create_directory(path("Tarvik.ini"));
  edited.option.TIME = "5";
  edited.tarvik.SOHOIP = "10.0.0.11";
  EXPECT_NE(core->ConfigClosed(edited, {}).find("Tarvik.ini に書き込めません"), std::string::npos);
  core->B1DiscClick();
  EXPECT_EQ(transport.host, "10.0.0.11");
}

// A save that fails in a way of its own (here the status line it tells a
// notice on gives way) comes back as the settings file's message; nothing
// is thrown into the dialog, and the settings are in force as after a
// file that could not be written.
TEST_F(CoreTest, ASaveThatFailsUnexpectedlyIsToldNotThrown) {
  struct GivingWayView : FakeView {
    using FakeView::FakeView;
    bool giveWay = false;
    void setStatusLine(const std::string& text) override {
      if (giveWay) throw std::runtime_error("the view gave way");
      FakeView::setStatusLine(text);
    }
  } givingWay{events};
  TarvikCore other(CorePorts{givingWay, transport, timers, sound, launcher, browser, clock, prompter},
                   SettingsFiles(dir));
  SettingsStore edited = other.settings();
  edited.tarvik.SOHOIP = "10.0.0.12";
  other.applySettings(edited);
  other.FormCreate({});
  other.FormShow();
  other.Config();
  // A password the keyring could not give: the save says so on the status line.
  edited.secret.unreadAs = edited.tarvik.PASS;
  edited.tarvik.SOHOIP = "10.0.0.13";
  const std::string trouble =
      "設定ファイル " + utf8Of(path("Tarvik.ini")) + " を読み書きできません: the view gave way";
  givingWay.giveWay = true;
  std::string error;
#ifndef _WIN32
  // A file that others may read and that holds a password: made the
  // owner's alone, which the status line tells.
  writeFile("Tarvik.ini", "[Tarvik]\r\nPASS=x\r\n");
  ::chmod(path("Tarvik.ini").c_str(), 0644);
  ASSERT_NO_THROW(error = other.saveApplications(3, {"x", "", "", "", "", "", ""}));
  EXPECT_EQ(error, trouble);
#endif
  ASSERT_NO_THROW(error = other.ConfigClosed(edited, {}));
  EXPECT_EQ(error, trouble);
  givingWay.giveWay = false;
  other.B1DiscClick();
  EXPECT_EQ(transport.host, "10.0.0.13") << "the new address is in force";
}

}  // namespace
}  // namespace tarvik::coretest

// Dialling, redial, timed actions, the router script, the per-call
// credentials and the destination checks, through the core.

#include "corefixture.h"

namespace tarvik::coretest {
namespace {

const std::string kBusy = "B1チャネル：発信失敗（着ユーザビジー）\n";

class LineControl : public CoreTest {
 protected:
  // Started, with the destination list and an idle status in place.
  void startIdle(const std::vector<std::string>& names = {"P0", "P1", "P2", "P3", "P4", "P5"}) {
    start();
    answer(lastSocket(), exchange({{"sh r l", destinationLines(names)}, {"sh s", statusBlock()}}));
  }
};

TEST_F(LineControl, RedialSequencesAlternateByParity) {
  struct Case {
    std::string count;
    std::vector<std::string> chains, progress;
  } cases[] = {
      {"4",
       {"co 2\rsh s", "co 5\rsh s", "co 2\rsh s", "co 5\rsh s", "co 2\rsh s"},
       {"ダイアル開始 (4/4)", "ダイアル開始 (3/4)", "ダイアル開始 (2/4)", "ダイアル開始 (1/4)",
        "ダイアル開始 "}},
      {"3",
       {"co 2\rsh s", "co 2\rsh s", "co 5\rsh s", "co 2\rsh s"},
       {"ダイアル開始 (3/3)", "ダイアル開始 (2/3)", "ダイアル開始 (1/3)", "ダイアル開始 "}},
      {"0", {"co 2\rsh s"}, {"ダイアル開始 "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    settings()->rd.count = c.count;
    settings()->tarvik.REDIAL = 5;
    startIdle();
    std::vector<std::string> chains, progress;
    core->ConnectFromMenu(2);
    for (int dial = 0; dial < 8 && !transport.opened.empty(); ++dial) {
      chains.push_back(chainOf(lastSocket()));
      progress.push_back(view.status);
      // The dial's own output shows busy too: a command exchange does not count.
      answer(lastSocket(), exchange({{chains.back(), ""}, {"sh s", statusBlock() + kBusy}}));
      std::size_t before = transport.opened.size();
      poll(statusBlock(), kBusy);  // busy seen by the poll: redial requested (while any are left)
      tick();                      // the redial, instead of this tick's poll
      if (chainOf(lastSocket()) == "sh s") {
        EXPECT_EQ(transport.opened.size(), before + 2);
        break;  // nothing requested: this tick polled
      }
    }
    EXPECT_EQ(chains, c.chains);
    EXPECT_EQ(progress, c.progress);
    answer(lastSocket(), "");
  }
}

// The count is read again at every redial: one edited by hand during a
// sequence is shown as typed, converted for the window like every other text.
TEST_F(LineControl, RedialProgressShowsAnEditedCountReadably) {
  settings()->rd.count = "3";
  startIdle();
  core->ConnectFromMenu(2);
  EXPECT_EQ(view.status, "ダイアル開始 (3/3)");
  answer(lastSocket(), "");
  settings()->rd.count = toSjis("３");
  poll(statusBlock(), kBusy);
  tick();
  EXPECT_EQ(chainOf(lastSocket()), "co 2\rsh s");
  EXPECT_EQ(view.status, "ダイアル開始 (2/３)");
}

TEST_F(LineControl, RedialWaitsForB1AndDisconnectAllRearms) {
  settings()->rd.count = "1";
  startIdle();
  core->ConnectFromMenu(1);
  answer(lastSocket(), "");
  poll(statusBlock(connected("1.2.3.4")), kBusy);
  poll(statusBlock());  // B1 was in use: the request waits, the tick polls
  tick();
  EXPECT_EQ(chainOf(lastSocket()), "co 1\rsh s");
  answer(lastSocket(), "");
  poll(statusBlock(), kBusy);  // the count is used up
  poll(statusBlock());
  core->DiscBtnClick();
  answer(lastSocket(), "");
  core->ConnectFromMenu(1);
  answer(lastSocket(), "");
  poll(statusBlock(), kBusy);
  tick();
  EXPECT_EQ(chainOf(lastSocket()), "co 1\rsh s");
}

TEST_F(LineControl, PlainDialSetsLabelAndLoadsTheDestinationsPrograms) {
  writeFile("Tarvik.ini", "[AP3]\r\n1=viewer $IP\r\n");
  startIdle({"P0", "P1", "P2", "Provider 3        X"});
  std::size_t before = events.size();
  core->ConnectFromMenu(3);
  EXPECT_EQ(view.status, "ダイアル開始 ");
  EXPECT_EQ(view.dest, "#3  Provider 3");  // 20 bytes, trailing blanks removed
  EXPECT_EQ(chainOf(lastSocket()), "co 3\rsh s");
  answer(lastSocket(), exchange({{"co 3", "プロバイダ3へ接続中．\nB1チャネルを接続しました。\n"},
                                 {"sh s", statusBlock(connected("192.168.1.2"))}}));
  EXPECT_EQ(eventsSince(before, {"sound", "launch", "panel"}),
            (std::vector<std::string>{"sound dial.wav", "panel normal", "sound connected.wav",
                                      "launch [viewer 192.168.1.2]"}));
}

TEST_F(LineControl, DestinationOutsideTheListIsRefused) {
  struct Case {
    std::function<void(TarvikCore&)> action;
    std::string status;
  } cases[] = {
      {[](TarvikCore& c) { c.ConnectFromMenu(16); }, "無効な接続先: 16"},
      {[](TarvikCore& c) { c.ConnectFromMenu(-1); }, "無効な接続先: -1"},
      {[this](TarvikCore& c) { settings()->tarvik.DEFAULT = 16; c.ConnectBtnClick(); },
       "無効な接続先: 16"},
  };
  startIdle();
  for (const Case& c : cases) {
    std::size_t before = transport.opened.size();
    c.action(*core);
    EXPECT_EQ(transport.opened.size(), before);
    EXPECT_EQ(view.status, c.status);
  }
  // An alternate destination outside the list: that redial is refused too.
  settings()->rd.count = "2";
  settings()->tarvik.REDIAL = 16;
  core->DiscBtnClick();
  answer(lastSocket(), "");
  core->ConnectFromMenu(2);
  answer(lastSocket(), "");
  poll(statusBlock(), kBusy);
  std::size_t before = transport.opened.size();
  tick();
  EXPECT_EQ(transport.opened.size(), before);
  EXPECT_EQ(view.status, "無効な接続先: 16");
}

TEST_F(LineControl, CredentialsChainForDestinationFour) {
  settings()->option.askCredentialsEachCall = true;
  settings()->option.LAST = "olduser";
  startIdle();
  std::size_t before = transport.opened.size();
  core->ConnectFromMenu(4);
  EXPECT_EQ(transport.opened.size(), before);
  EXPECT_EQ(eventsSince(0, {"ask-credentials"}), std::vector<std::string>{"ask-credentials olduser"});
  core->CredentialsEntered("user 1", "p w");
  EXPECT_EQ(chainOf(lastSocket()), "rem 4 s i user 1\rrem 4 s p p w\rco 4\rrem 4 s p\r");
  EXPECT_EQ(settings()->option.LAST, "user 1");
  core->CredentialsEntered("again", "x");  // no question open: nothing
  EXPECT_EQ(transport.opened.size(), before + 1);
}

TEST_F(LineControl, StarredEntryAsksForCredentials) {
  startIdle({"P0", "P1 *"});
  core->ConnectFromMenu(1);
  EXPECT_EQ(eventsSince(0, {"ask-credentials"}).size(), 1u);
  core->CredentialsCancelled();
  EXPECT_EQ(view.status, "ダイアル開始 ");
}

TEST_F(LineControl, TimedDialIsNotAskedAgainWhileTheQuestionIsOpen) {
  settings()->option.askCredentialsEachCall = true;
  settings()->option.startupConnect = true;
  settings()->time.ON = "23:31";
  settings()->rd.count = "3";
  clock.set(23, 30, 0);
  startIdle();
  core->Timer1Timer();  // the start-up connect inside the night asks
  EXPECT_EQ(eventsSince(0, {"ask-credentials"}).size(), 1u);
  for (int i = 0; i < 24; ++i) tick();  // through 23:31 and a requested redial
  EXPECT_EQ(eventsSince(0, {"ask-credentials"}).size(), 1u);
  core->CredentialsCancelled();
  // The timed connect's minute is spent: no new question in it.
  clock.set(23, 31, 40);
  core->Timer1Timer();
  EXPECT_EQ(eventsSince(0, {"ask-credentials"}).size(), 1u);
}

TEST_F(LineControl, TickOrder) {
  settings()->time.ON = "23:01";
  settings()->time.WARNING = "23:01";  // the same minute: the connect fires, not the warning
  settings()->option.runRouterScript = true;
  settings()->script = {"23:01 sh ver", "; 23:01 never"};
  settings()->rd.count = "1";
  clock.set(23, 0, 0);
  startIdle();
  core->ConnectFromMenu(1);
  answer(lastSocket(), "");
  poll(statusBlock(), kBusy);  // 23:00:05: a redial is requested
  clock.set(23, 1, 0);
  std::size_t events0 = events.size(), opened0 = transport.opened.size();
  core->Timer1Timer();
  EXPECT_EQ(eventsSince(events0, {"strip", "sound", "status", "details", "panel"}),
            (std::vector<std::string>{"strip night", "status ダイアル開始 ", "status ダイアル開始 ",
                                      "details Script >>sh ver"}));
  // Timed connect, the redial, the script; no poll in this tick.
  // The redial dials DialTarget, which the timed connect has just set.
  EXPECT_EQ(chainsSince(opened0), (std::vector<std::string>{"co 0\rsh s", "co 0\rsh s", " sh ver\r"}));
  for (SocketId s : std::vector<SocketId>(transport.opened.begin() + opened0, transport.opened.end())) {
    answer(s, "");
  }
  opened0 = transport.opened.size();
  tick();  // the same minute again: only the poll
  EXPECT_EQ(chainsSince(opened0), std::vector<std::string>{"sh s"});
}

TEST_F(LineControl, ScriptWaitsWhileTheSettingsDialogIsOpen) {
  settings()->option.runRouterScript = true;
  settings()->script = {"12:01 sh ver"};
  clock.set(12, 0, 55);
  startIdle();
  core->Config();
  for (int i = 0; i < 13; ++i) tick();  // through 12:01 into 12:02
  EXPECT_EQ(core->ConfigClosed(core->settings(), {}), "");
  tick();
  EXPECT_TRUE(eventsSince(0, {"details Script"}).empty());  // the minute missed is not caught up
  clock.set(12, 0, 58);
  tick();
  EXPECT_EQ(eventsSince(0, {"details Script"}), std::vector<std::string>{"details Script >>sh ver"});
}

TEST_F(LineControl, RouterAddressTypedInTheDialogTakesEffectWhenItCloses) {
  settings()->tarvik.SOHOIP = "127.0.0.1";
  startIdle();
  core->Config();
  settings()->tarvik.SOHOIP = "127.0.0";  // half typed
  core->B1DiscClick();
  EXPECT_EQ(transport.host, "127.0.0.1");
  EXPECT_EQ(core->routerPageAddress(4), "http://127.0.0/config-ip");  // web pages follow the field at once
  settings()->tarvik.SOHOIP = "127.0.0.2";
  EXPECT_EQ(core->ConfigClosed(core->settings(), {}), "");
  core->B1DiscClick();
  EXPECT_EQ(transport.host, "127.0.0.2");
}

struct DisconnectCase {
  std::string b1Number, b2Number;
  bool jigen;
  std::vector<std::string> chains;
};

class TimedDisconnectAt : public LineControl, public testing::WithParamInterface<DisconnectCase> {};

TEST_P(TimedDisconnectAt, SparesTheFlatRateNumber) {
  const DisconnectCase& c = GetParam();
  clock.set(7, 57, 50);
  startIdle();
  if (!c.jigen) core->JIGENClick();
  EXPECT_EQ(core->jigenChecked(), c.jigen);
  poll(statusBlock(connected("1.2.3.4", c.b1Number), connected("5.6.7.8", c.b2Number)));
  std::size_t before = transport.opened.size();
  tick();  // 7:58:00
  EXPECT_EQ(chainsSince(before), c.chains);
}

INSTANTIATE_TEST_SUITE_P(Table, TimedDisconnectAt,
                         testing::Values(DisconnectCase{"1840120111", "0312345678", true, {"dis b2\rsh s"}},
                                         DisconnectCase{"0312345678", "1840120111", true, {"dis b1\rsh s"}},
                                         DisconnectCase{"0312345678", "0398765432", true, {"dis a\rsh s"}},
                                         DisconnectCase{"1840120111", "1840120222", true, {}},
                                         DisconnectCase{"0312345678", "0398765432", false, {"sh s"}}));

TEST_F(LineControl, WarningTurnsThePanelRedAndSounds) {
  settings()->time.WARNING = "7:55";
  clock.set(7, 54, 58);
  startIdle();
  std::size_t before = events.size();
  tick();
  tick();
  EXPECT_EQ(eventsSince(before, {"panel", "sound"}),
            (std::vector<std::string>{"panel red", "sound warning.wav"}));
}

}  // namespace
}  // namespace tarvik::coretest

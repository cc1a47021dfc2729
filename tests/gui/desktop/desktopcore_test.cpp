// The desktop windows over the real TarvikCore, with recording ports in
// place of sockets, timers and the browser: the router web pages in both
// router variants, the destination captions from the router's list, and
// the close with the disconnect question through to the automatic close.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "qt/desktop/desktopshell.h"
#include "qt/desktop/elidedlabel.h"
#include "qt/desktop/mainwindow.h"
#include "engine/base/bytes.h"
#include "engine/base/sjis.h"
#include "engine/core/tarvikcore.h"
#include "qt/dialogs/destinationbox.h"
#include "fakes/fakeports.h"
#include "fakes/routeroutput.h"
#include "qt/windows/aboutbox.h"

namespace tarvik {
namespace {

using namespace test;

struct CoreWindowsTest : ::testing::Test {
  QTemporaryDir dir;
  Events events;
  QtView view;
  FakeTransport transport{events};
  FakeTimers timers;
  FakeSound sound{events};
  FakeLauncher launcher{events};
  FakeBrowser browser;
  FakeClock clock;
  TarvikCore core{CorePorts{view, transport, timers, sound, launcher, browser, clock, view},
                  SettingsFiles(dir.path().toStdString())};
  DesktopShell shell{core, view, browser, nullptr, true};

  ~CoreWindowsTest() override {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->done(0);
    }
  }

  template <typename Change>
  void edit(Change change) {
    SettingsStore edited = core.settings();
    change(edited);
    core.applySettings(edited);
  }

  void start() {
    edit([](SettingsStore& s) { s.tarvik.SOHOIP = "192.168.0.1"; });
    core.FormCreate({});
    shell.applyLoadedSettings();
    shell.show();
    core.FormShow();
  }
  // The router's part in the last exchange opened: connect, output, close.
  void answer(const std::string& sjisOutput) {
    const SocketId socket = transport.opened.back();
    core.AsyncSock1Connect(socket);
    core.AsyncSock1Receive(socket, sjisOutput);
    core.AsyncSock1Close(socket);
  }
  void answerStartUp(const std::string& banner) {
    const std::string list = destinationLines({"プロバイダＡ", "会社", "", "実家 *"});
    answer(
        exchange({{"sh ver", banner + "\n"}, {"sh r l", list}, {"sh s", statusBlock()}, {"sh r l", list}}));
  }
  QAction* action(const char* name) {
    return shell.windows().main->findChild<QAction*>(QString::fromLatin1(name));
  }
  int visibleMessageBoxes() const {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) ++n;
    }
    return n;
  }
  QString statusLine() const {
    return shell.windows().main->findChild<ElidedLabel*>(QStringLiteral("Label4"))->fullText();
  }
  QString channelBox(const char* name) const {
    return shell.windows().main->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
  }
};

const char* const kPageItems[11] = {"K16", "K15", "K14",  "KIP2", "KISDN1", "K13",
                                    "K12", "K11", "KIP1", "K10",  "K9"};

std::vector<std::string> addresses(const char* host, const std::vector<const char*>& paths) {
  std::vector<std::string> out;
  for (const char* p : paths) out.push_back(std::string("http://") + host + "/" + p);
  return out;
}

TEST_F(CoreWindowsTest, TheElevenRouterPagesOfAnFRouter) {
  start();
  answerStartUp("MN128-SOHO.F Ver 2.40");
  for (const char* item : kPageItems) action(item)->trigger();
  EXPECT_EQ(browser.opened,
            addresses("192.168.0.1", {"disconnect", "config-rlist", "config-body", "config-ip", "config-isdn",
                                      "config-analog", "erase-config", "show-config", "show-ip-route",
                                      "show-history", "show-charge"}));
  EXPECT_EQ(shell.windows().about->routerVersion(), QStringLiteral("MN128-SOHO.F Ver 2.40"));
}

TEST_F(CoreWindowsTest, AnSRouterSwitchesTwoPagesToTheirCgiPathsOnlyOnceItsBannerIsSeen) {
  start();
  action("K14")->trigger();
  answerStartUp("# MN128-SOHO-S Ver 1.10");
  for (const char* item : kPageItems) action(item)->trigger();
  EXPECT_EQ(browser.opened,
            addresses("192.168.0.1", {"config-body", "disconnect", "config-rlist", "config-sys.cgi",
                                      "config-ip", "config-isdn", "config-analog-port.cgi", "erase-config",
                                      "show-config", "show-ip-route", "show-history", "show-charge"}));
  EXPECT_EQ(shell.windows().about->routerVersion(), QStringLiteral("# MN128-SOHO-S Ver 1.10"));
}

TEST_F(CoreWindowsTest, AnAddressTypedInTheSettingsIsUsedByTheNextPage) {
  start();
  shell.windows()
      .settings->findChild<QLineEdit*>(QStringLiteral("Edit5"))
      ->setText(QStringLiteral("10.1.2.3"));
  action("KIP2")->trigger();
  EXPECT_EQ(browser.opened, addresses("10.1.2.3", {"config-ip"}));
}

TEST_F(CoreWindowsTest, TheRoutersListGivesTheDestinationCaptionsAndEntries) {
  start();
  EXPECT_EQ(action("N11")->text(), QStringLiteral("#0"));
  EXPECT_EQ(action("NN8")->text(), QString());
  answerStartUp("MN128-SOHO.F Ver 2.40");
  for (int n = 0; n < 16; ++n) {
    const std::string entry = core.destinationList().at(n);
    const QString caption = QString::fromStdString(toUtf8(trimRightBlanks(sjisCut(entry, 20))));
    for (QAction* a : shell.windows().main->destinationActions(n)) EXPECT_EQ(a->text(), caption) << n;
  }
  EXPECT_TRUE(action("N11")->text().startsWith(QStringLiteral("#0")));
  EXPECT_NE(action("N11")->text().indexOf(QStringLiteral("プロバイダ")), -1);
  auto* box = shell.windows().settings->findChild<DestinationBox*>(QStringLiteral("ComboBox1"));
  ASSERT_EQ(box->count(), 16);
  EXPECT_EQ(box->itemText(3).toStdString(), toUtf8(core.destinationList().at(3)));
  const std::size_t opened = transport.opened.size();
  action("NM15")->trigger();
  ASSERT_EQ(transport.opened.size(), opened + 1);
  core.AsyncSock1Connect(transport.opened.back());
  ASSERT_FALSE(transport.sent[transport.opened.back()].empty());
  EXPECT_NE(transport.sent[transport.opened.back()].front().find("co 15\r"), std::string::npos)
      << "the pop-up item dials the number it carries";
}

// A router that refuses the login, then one that breaks every poll's sends:
// the main window says so on its status line, the channel boxes show the
// state unknown, and not one box opens, however many polls fail.
TEST_F(CoreWindowsTest, ARouterThatCannotBeUsedIsToldWithoutABoxPerPoll) {
  start();
  answerStartUp("MN128-SOHO.F Ver 2.40");
  ASSERT_EQ(channelBox("Edit1"), QStringLiteral("空き"));
  for (int poll = 0; poll < 5; ++poll) {
    clock.advance(5000);
    core.Timer1Timer();
    answer(refusedLogin());
    QApplication::processEvents();
  }
  EXPECT_EQ(statusLine(), QStringLiteral("ルーターにログインできません。パスワードを確認してください"));
  EXPECT_EQ(channelBox("Edit1"), QStringLiteral("状態不明"));
  EXPECT_EQ(channelBox("Edit2"), QStringLiteral("状態不明"));
  EXPECT_EQ(visibleMessageBoxes(), 0);

  transport.error = "Send Error Connection reset by peer";
  for (int poll = 0; poll < 5; ++poll) {
    clock.advance(5000);
    core.Timer1Timer();
    const SocketId socket = transport.opened.back();
    core.AsyncSock1Connect(socket);
    transport.failSend = true;
    core.AsyncSock1Receive(socket, "\xFF\xFD\x18");  // the refusal to this cannot be sent
    core.AsyncSock1Close(socket);
    transport.failSend = false;
    QApplication::processEvents();
  }
  EXPECT_EQ(statusLine(), QStringLiteral("Send Error Connection reset by peer"));
  EXPECT_EQ(visibleMessageBoxes(), 0);
}

TEST_F(CoreWindowsTest, ClosingWhileAChannelIsInUseAsksAndClosesAfterTheDisconnection) {
  edit([](SettingsStore& s) { s.option.disconnectOnExit = true; });
  start();
  answerStartUp("MN128-SOHO.F Ver 2.40");
  clock.advance(5000);
  core.Timer1Timer();
  answer(exchange({{"sh s", statusBlock(connected("10.0.0.5"))}}));
  ASSERT_EQ(shell.windows().main->findChild<QLineEdit*>(QStringLiteral("Edit1"))->isVisible(), true);

  QSignalSpy finished(&shell, &DesktopShell::finished);
  MainWindow* main = shell.windows().main;
  main->move(123, 45);
  EXPECT_FALSE(main->close());
  std::ifstream ini(core.files().iniPath(), std::ios::binary);
  std::stringstream text;
  text << ini.rdbuf();
  EXPECT_NE(text.str().find("left=123"), std::string::npos) << "a refused close has saved the window state";

  QMessageBox* box = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
  }
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->windowTitle(), QStringLiteral("確認"));
  const std::size_t opened = transport.opened.size();
  for (QAbstractButton* b : box->buttons()) {
    if (b->text() == QStringLiteral("OK")) b->click();
  }
  ASSERT_EQ(transport.opened.size(), opened + 1) << "OK disconnects";
  EXPECT_TRUE(main->isVisible()) << "the program waits for the router";

  answer(
      exchange({{"dis a", "B1チャネルを切断しました。\n  切断理由：ユーザ要求\n"}, {"sh s", statusBlock()}}));
  QApplication::processEvents();
  EXPECT_FALSE(main->isVisible());
  EXPECT_EQ(finished.size(), 1) << "the program ends by itself";
  EXPECT_FALSE(timers.isActive(TimerId::Timer1));
}

}  // namespace
}  // namespace tarvik

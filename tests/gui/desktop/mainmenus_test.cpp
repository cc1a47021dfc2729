// The main window's menus: what every item does by its caption, the order
// the user relies on, the destination number each item carries and dials.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "qt/desktop/mainwindow.h"
#include "fakes/recordingcore.h"

// Captions read as text in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace tarvik {
namespace {

struct MenuTest : ::testing::Test {
  QTemporaryDir dir;
  test::RecordingCore core{dir.path().toStdString()};
  MainWindow window{core};
  QAction* action(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }

  bool isDestination(const QAction* a) const {
    for (int n = 0; n < 16; ++n) {
      for (QAction* d : window.destinationActions(n)) {
        if (d == a) return true;
      }
    }
    return false;
  }

  // The items a user can pick, each with its path of captions
  // ("接続/切断/B1 切断"), submenus opened, separators and destinations left out.
  void leaves(const QList<QAction*>& actions, const QString& path, std::vector<std::pair<QString, QAction*>>& out) {
    for (QAction* a : actions) {
      if (a->isSeparator() || isDestination(a)) continue;
      const QString here = path.isEmpty() ? a->text() : path + QLatin1Char('/') + a->text();
      if (a->menu()) {
        leaves(a->menu()->actions(), here, out);
      } else {
        out.emplace_back(here, a);
      }
    }
  }

  // Picks the item with the window shown minimised and says what happened:
  // the engine's commands, the windows asked for, a close or a bringing back.
  std::string effectOf(QAction* a) {
    window.show();
    window.showMinimized();
    core.calls.clear();
    QSignalSpy config(&window, &MainWindow::configRequested);
    QSignalSpy details(&window, &MainWindow::detailsRequested);
    QSignalSpy help(&window, &MainWindow::helpRequested);
    QSignalSpy about(&window, &MainWindow::aboutRequested);
    QSignalSpy page(&window, &MainWindow::programPageRequested);
    QSignalSpy usage(&window, &MainWindow::usageRequested);
    a->trigger();
    std::vector<std::string> effects = core.calls;
    const std::pair<QSignalSpy*, const char*> windows[] = {{&config, "settings window"},
                                                           {&details, "details window"},
                                                           {&help, "manual"},
                                                           {&about, "about box"},
                                                           {&page, "program page"},
                                                           {&usage, "usage window"}};
    for (const auto& [spy, what] : windows) {
      for (int i = 0; i < spy->size(); ++i) effects.push_back(what);
    }
    if (window.isVisible() && !window.isMinimized()) effects.push_back("window back");
    std::string joined;
    for (const std::string& e : effects) joined += (joined.empty() ? "" : ", ") + e;
    return joined;
  }
};

// Every item a user can pick does what its caption says, in the window's
// menu bar, the tray's menu and the tray's left-click menu. Destinations
// are tested apart, by their numbers.
TEST_F(MenuTest, EveryItemDoesWhatItsCaptionSays) {
  const std::map<QString, std::string> expected = {
      {"接続/切断/B1 切断", "B1DiscClick"},
      {"接続/切断/B2 切断", "B2DiscClick"},
      {"接続/終了", "FormCloseQuery 0, FormClose"},
      {"設定/Tarvikの設定", "settings window"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/切断／接続状況", "ExecWWW 1"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/自動接続先設定", "ExecWWW 2"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/本体設定", "ExecWWW 3"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/IP設定", "ExecWWW 4"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/ISDN設定", "ExecWWW 5"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/アナログポート設定", "ExecWWW 6"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/設定の消去", "ExecWWW 7"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/設定情報", "ExecWWW 8"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/IP経路情報", "ExecWWW 9"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/接続・切断ログ情報", "ExecWWW 10"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/通信料金情報", "ExecWWW 11"},
      {"その他/ﾍﾙﾌﾟ", "manual"},
      {"その他/ﾊﾞｰｼﾞｮﾝ情報", "about box"},
      {"その他/Tarvikのﾍﾟｰｼﾞ", "program page"},
      {"その他/利用状況", "usage window"},
      {"tray/B1 切断", "B1DiscClick"},
      {"tray/B2 切断", "B2DiscClick"},
      {"tray/設定", "settings window"},
      {"tray/情報窓表示", "window back"},
      {"tray/利用状況", "usage window"},
      {"tray/時限切断 [7:58]", "JIGENClick"},
      {"tray/終了", "FormCloseQuery 0, FormClose"},
      {"tray left/接続", "ConnectBtnClick"},
      {"tray left/切断", "DiscBtnClick"},
      {"tray left/詳細", "details window"},
  };
  std::vector<std::pair<QString, QAction*>> items;
  leaves(window.menuBar()->actions(), QString(), items);
  leaves(window.popupMenu1()->actions(), QStringLiteral("tray"), items);
  leaves(window.popupMenu2()->actions(), QStringLiteral("tray left"), items);
  std::map<QString, std::string> found;
  for (const auto& [path, a] : items) {
    EXPECT_EQ(found.count(path), 0u) << "two items read " << path.toStdString();
    found[path] = effectOf(a);
  }
  EXPECT_EQ(found, expected);
}

// Rules of order the user relies on.
TEST_F(MenuTest, TheOrderOfTheMenus) {
  auto captions = [](const QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
  };
  QStringList bar;
  for (QAction* a : window.menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, QStringList({"接続", "設定", "その他"}));

  // No menu starts or ends with a separator or has two in a row.
  std::vector<const QMenu*> menus = {window.popupMenu1(), window.popupMenu2()};
  for (QMenu* m : window.findChildren<QMenu*>()) menus.push_back(m);
  for (const QMenu* m : menus) {
    const QStringList c = captions(m);
    ASSERT_FALSE(c.isEmpty()) << m->title().toStdString();
    EXPECT_NE(c.first(), "-") << m->title().toStdString();
    EXPECT_NE(c.last(), "-") << m->title().toStdString();
    EXPECT_EQ(c.join(QLatin1Char('|')).indexOf(QStringLiteral("-|-")), -1) << m->title().toStdString();
  }

  // 終了 closes the connection menu and the tray's menu, set apart.
  const QMenu* connection = window.menuBar()->actions().at(0)->menu();
  for (const QMenu* m : {connection, static_cast<const QMenu*>(window.popupMenu1())}) {
    const QStringList c = captions(m);
    ASSERT_GE(c.size(), 2);
    EXPECT_EQ(c.last(), QStringLiteral("終了"));
    EXPECT_EQ(c.at(c.size() - 2), QStringLiteral("-"));
  }
  // 利用状況 comes last in その他, so that the items before it keep their
  // places; in the tray's menu it follows 情報窓表示.
  EXPECT_EQ(captions(window.menuBar()->actions().at(2)->menu()).last(), QStringLiteral("利用状況"));
  const QStringList tray = captions(window.popupMenu1());
  EXPECT_EQ(tray.indexOf(QStringLiteral("利用状況")), tray.indexOf(QStringLiteral("情報窓表示")) + 1);
  // The router's pages in the order of their numbers.
  const QMenu* pages = window.menuBar()->actions().at(1)->menu()->actions().at(1)->menu();
  ASSERT_NE(pages, nullptr);
  std::vector<std::string> asked;
  for (QAction* a : pages->actions()) {
    core.calls.clear();
    a->trigger();
    asked.push_back(core.last());
  }
  std::vector<std::string> inOrder;
  for (int n = 1; n <= 11; ++n) inOrder.push_back("ExecWWW " + std::to_string(n));
  EXPECT_EQ(asked, inOrder);
  // The tray's left-click menu: 接続 first, its default item, shown bold.
  EXPECT_EQ(captions(window.popupMenu2()), QStringList({"接続", "切断", "詳細"}));
  EXPECT_EQ(window.popupMenu2()->defaultAction(), window.popupMenu2()->actions().at(0));
  EXPECT_TRUE(window.popupMenu2()->actions().at(0)->font().bold());
  // Help answers F1; the timed disconnect shows whether it is switched on.
  EXPECT_EQ(action("Help1")->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_TRUE(action("JIGEN")->isCheckable());
  EXPECT_TRUE(action("JIGEN")->isChecked());
}

// Both menus offer the sixteen destinations in number order, the first
// eight directly, the other eight under 次の8件, as one block set apart by
// separators.
TEST_F(MenuTest, TheDestinationsComeInNumberOrder) {
  const QMenu* connection = window.menuBar()->actions().at(0)->menu();
  for (const QMenu* m : {connection, static_cast<const QMenu*>(window.popupMenu1())}) {
    SCOPED_TRACE(m == connection ? "接続" : "tray");
    const QList<QAction*> items = m->actions();
    int first = -1;
    for (int i = 0; i < items.size() && first < 0; ++i) {
      if (isDestination(items[i])) first = i;
    }
    ASSERT_GT(first, 0);
    EXPECT_TRUE(items[first - 1]->isSeparator());
    for (int n = 0; n < 8; ++n) EXPECT_EQ(items.at(first + n), window.destinationActions(n)[m == connection ? 0 : 1]);
    QAction* next = items.at(first + 8);
    ASSERT_NE(next->menu(), nullptr);
    EXPECT_EQ(next->text(), QStringLiteral("次の8件"));
    ASSERT_EQ(next->menu()->actions().size(), 8);
    for (int n = 8; n < 16; ++n)
      EXPECT_EQ(next->menu()->actions().at(n - 8), window.destinationActions(n)[m == connection ? 0 : 1]);
    EXPECT_TRUE(items.at(first + 9)->isSeparator());
  }
}

TEST_F(MenuTest, EveryDestinationItemDialsTheNumberItCarriesWhateverItsCaption) {
  const char* mainItems[16] = {"N11", "N12", "N21",  "N41",  "N31",  "N51",  "N61",  "N71",
                               "NN8", "NN9", "NN10", "NN11", "NN12", "NN13", "NN14", "NN15"};
  const char* popupItems[16] = {"N01", "N13", "N22",  "N32",  "N42",  "N52",  "N62",  "N72",
                                "NM8", "NM9", "NM10", "NM11", "NM12", "NM13", "NM14", "NM15"};
  // Captions from the router's list, deliberately out of order.
  for (int n = 0; n < 16; ++n) window.setDestinationCaption(n, QStringLiteral("#%1 dest").arg(15 - n));
  for (int n = 0; n < 16; ++n) {
    for (const char* name : {mainItems[n], popupItems[n]}) {
      QAction* a = action(name);
      ASSERT_NE(a, nullptr) << name;
      EXPECT_EQ(a->data().toInt(), n) << name;
      EXPECT_EQ(a->text(), QStringLiteral("#%1 dest").arg(15 - n)) << name;
      a->trigger();
      EXPECT_EQ(core.last(), "ConnectFromMenu " + std::to_string(n)) << name;
    }
    EXPECT_EQ(window.destinationActions(n)[0], action(mainItems[n]));
    EXPECT_EQ(window.destinationActions(n)[1], action(popupItems[n]));
  }
}

TEST_F(MenuTest, TheTimedDisconnectMarkFollowsTheEnginesSwitch) {
  for (bool expected : {false, true}) {
    action("JIGEN")->trigger();
    EXPECT_EQ(core.last(), "JIGENClick");
    EXPECT_EQ(action("JIGEN")->isChecked(), expected);
  }
}

TEST_F(MenuTest, BothExitItemsAskTheWindowToClose) {
  for (const char* name : {"Exit1", "Exit2"}) {
    window.show();
    core.calls.clear();
    action(name)->trigger();
    EXPECT_EQ(core.calls, (std::vector<std::string>{"FormCloseQuery 0", "FormClose"})) << name;
    EXPECT_FALSE(window.isVisible());
  }
}

TEST_F(MenuTest, TheTimedDisconnectCaptionIsSetFromTheOffTime) {
  window.setJigenCaption(QStringLiteral("時限切断 [6:45]"));
  EXPECT_EQ(action("JIGEN")->text(), QStringLiteral("時限切断 [6:45]"));
}

}  // namespace
}  // namespace tarvik

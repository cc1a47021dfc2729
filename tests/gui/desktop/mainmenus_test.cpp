// The main window's menus item by item: names, captions, order, the
// destination number each item carries and dials, and what every other
// item does.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "desktop/mainwindow.h"
#include "fakes/recordingcore.h"

namespace tarvik {
namespace {

// One line per item: "name|caption" for items, "name|-" for separators,
// "name|caption>" for a submenu followed by its items indented by two blanks.
QStringList describe(const QList<QAction*>& actions, int depth = 0) {
  QStringList out;
  const QString indent(depth * 2, QLatin1Char(' '));
  for (QAction* a : actions) {
    if (a->isSeparator()) {
      out << indent + a->objectName() + QStringLiteral("|-");
    } else if (a->menu()) {
      out << indent + a->menu()->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('>');
      out << describe(a->menu()->actions(), depth + 1);
    } else {
      out << indent + a->objectName() + QLatin1Char('|') + a->text();
    }
  }
  return out;
}

struct MenuTest : ::testing::Test {
  QTemporaryDir dir;
  test::RecordingCore core{dir.path().toStdString()};
  MainWindow window{core};
  QAction* action(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }
};

TEST_F(MenuTest, MainMenuItemByItem) {
  const QStringList expected = {
      "File1|接続>",
      "  K1|切断>",
      "    B1Disc|B1 切断",
      "    B2Disc|B2 切断",
      "  N1|-",
      "  N11|#0",
      "  N12|#1",
      "  N21|#2",
      "  N41|#3",
      "  N31|#4",
      "  N51|#5",
      "  N61|#6",
      "  N71|#7",
      "  K81|次の8件>",
      "    NN8|",
      "    NN9|",
      "    NN10|",
      "    NN11|",
      "    NN12|",
      "    NN13|",
      "    NN14|",
      "    NN15|",
      "  N2|-",
      "  Exit1|終了",
      "KS1|設定>",
      "  KTarvik3|Tarvikの設定",
      "  KMN128SOHO1|MN128-SOHO設定ﾍﾟｰｼﾞ>",
      "    K16|切断／接続状況",
      "    K15|自動接続先設定",
      "    K14|本体設定",
      "    KIP2|IP設定",
      "    KISDN1|ISDN設定",
      "    K13|アナログポート設定",
      "    K12|設定の消去",
      "    K11|設定情報",
      "    KIP1|IP経路情報",
      "    K10|接続・切断ログ情報",
      "    K9|通信料金情報",
      "K2|その他>",
      "  Help1|ﾍﾙﾌﾟ",
      "  NNN|-",
      "  KTarvik1|ﾊﾞｰｼﾞｮﾝ情報",
      "  KTarvik2|Tarvikのﾍﾟｰｼﾞ",
      "  KUsage1|利用状況",
  };
  EXPECT_EQ(describe(window.menuBar()->actions()), expected);
  EXPECT_EQ(action("Help1")->shortcut(), QKeySequence(Qt::Key_F1));
}

TEST_F(MenuTest, PopupMenusItemByItem) {
  const QStringList popup1 = {
      "KB12|B1 切断", "KB22|B2 切断", "N3|-",    "N01|#0",  "N13|#1",        "N22|#2",
      "N32|#3",       "N42|#4",       "N52|#5",  "N62|#6",  "N72|#7",        "K82|次の8件>",
      "  NM8|",       "  NM9|",       "  NM10|", "  NM11|", "  NM12|",       "  NM13|",
      "  NM14|",      "  NM15|",      "N4|-",    "K3|設定", "K4|情報窓表示", "KUsage2|利用状況", "JIGEN|時限切断 [7:58]",
      "N5|-",         "Exit2|終了",
  };
  EXPECT_EQ(window.popupMenu1()->objectName(), QStringLiteral("PopupMenu1"));
  EXPECT_EQ(describe(window.popupMenu1()->actions()), popup1);
  EXPECT_TRUE(action("JIGEN")->isCheckable());
  EXPECT_TRUE(action("JIGEN")->isChecked());

  EXPECT_EQ(window.popupMenu2()->objectName(), QStringLiteral("PopupMenu2"));
  EXPECT_EQ(describe(window.popupMenu2()->actions()), QStringList({"K5|接続", "K6|切断", "K7|詳細"}));
  EXPECT_EQ(window.popupMenu2()->defaultAction(), action("K5"));
  EXPECT_TRUE(action("K5")->font().bold());
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

TEST_F(MenuTest, TheRouterPageItemsAskForTheirPageNumbers) {
  const std::pair<const char*, int> pages[] = {{"K16", 1},    {"K15", 2},  {"K14", 3}, {"KIP2", 4},
                                               {"KISDN1", 5}, {"K13", 6},  {"K12", 7}, {"K11", 8},
                                               {"KIP1", 9},   {"K10", 10}, {"K9", 11}};
  for (const auto& [name, page] : pages) {
    action(name)->trigger();
    EXPECT_EQ(core.last(), "ExecWWW " + std::to_string(page)) << name;
  }
}

TEST_F(MenuTest, TheOtherItemsReachTheCoreOrOpenTheirWindows) {
  const std::pair<const char*, const char*> coreItems[] = {
      {"B1Disc", "B1DiscClick"}, {"B2Disc", "B2DiscClick"}, {"KB12", "B1DiscClick"}, {"KB22", "B2DiscClick"},
      {"K5", "ConnectBtnClick"}, {"K6", "DiscBtnClick"},    {"JIGEN", "JIGENClick"},
  };
  for (const auto& [name, call] : coreItems) {
    action(name)->trigger();
    EXPECT_EQ(core.last(), call) << name;
  }
  EXPECT_FALSE(action("JIGEN")->isChecked()) << "the mark follows the core's switch";

  QSignalSpy config(&window, &MainWindow::configRequested);
  QSignalSpy details(&window, &MainWindow::detailsRequested);
  QSignalSpy help(&window, &MainWindow::helpRequested);
  QSignalSpy about(&window, &MainWindow::aboutRequested);
  QSignalSpy page(&window, &MainWindow::programPageRequested);
  QSignalSpy usage(&window, &MainWindow::usageRequested);
  for (const char* name : {"KTarvik3", "K3", "K7", "Help1", "KTarvik1", "KTarvik2", "KUsage1", "KUsage2"})
    action(name)->trigger();
  EXPECT_EQ(config.size(), 2);
  EXPECT_EQ(details.size(), 1) << "詳細 presses the details button";
  EXPECT_EQ(help.size(), 1);
  EXPECT_EQ(about.size(), 1);
  EXPECT_EQ(page.size(), 1);
  EXPECT_EQ(usage.size(), 2) << "利用状況 in the main menu and the tray's menu";
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

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
};

// The Qt menus are the tables: every row is an action (or separator, or
// submenu) of its menu, in the table's order, with the row's name and
// caption; a submenu holds its rows.
void expectBuiltFrom(const QList<QAction*>& actions, std::span<const MenuItem> rows, const std::string& where) {
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(rows.size())) << where;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MenuItem& row = rows[i];
    QAction* a = actions.at(static_cast<qsizetype>(i));
    const std::string here = where + "/" + row.name;
    EXPECT_EQ(a->objectName(), QString::fromLatin1(row.name)) << here;
    EXPECT_EQ(a->isSeparator(), row.act == MenuAct::Separator) << here;
    if (row.act == MenuAct::Separator) continue;
    EXPECT_EQ(a->text(), QString::fromUtf8(row.caption)) << here;
    EXPECT_EQ(a->menu() != nullptr, row.act == MenuAct::Submenu) << here;
    if (a->menu()) expectBuiltFrom(a->menu()->actions(), row.children, here);
  }
}

TEST_F(MenuTest, TheMenusAreBuiltFromTheTables) {
  expectBuiltFrom(window.menuBar()->actions(), mainMenuItems(), "MainMenu1");
  expectBuiltFrom(window.popupMenu1()->actions(), popupMenu1Items(), "PopupMenu1");
  expectBuiltFrom(window.popupMenu2()->actions(), popupMenu2Items(), "PopupMenu2");
}

// A picked item reaches the presentation: the engine's items the engine,
// the window items their windows, the timed-disconnect item its check mark.
TEST_F(MenuTest, PickedItemsArrive) {
  QSignalSpy config(&window, &MainWindow::configRequested);
  QSignalSpy details(&window, &MainWindow::detailsRequested);
  QSignalSpy usage(&window, &MainWindow::usageRequested);
  QSignalSpy about(&window, &MainWindow::aboutRequested);
  const std::pair<const char*, std::string> engineItems[] = {
      {"B1Disc", "B1DiscClick"}, {"KB22", "B2DiscClick"}, {"K5", "ConnectBtnClick"},
      {"K6", "DiscBtnClick"},    {"KISDN1", "ExecWWW 5"}};
  for (const auto& [name, call] : engineItems) {
    ASSERT_NE(action(name), nullptr) << name;
    action(name)->trigger();
    EXPECT_EQ(core.last(), call) << name;
  }
  action("KTarvik3")->trigger();
  action("K3")->trigger();
  action("K7")->trigger();
  action("KUsage2")->trigger();
  action("KTarvik1")->trigger();
  EXPECT_EQ(config.size(), 2);
  EXPECT_EQ(details.size(), 1) << "詳細 presses Button3";
  EXPECT_EQ(usage.size(), 1);
  EXPECT_EQ(about.size(), 1);
  window.show();
  window.showMinimized();
  action("K4")->trigger();
  EXPECT_FALSE(window.isMinimized()) << "情報窓表示 brings the window back";
}

// What the Qt menus draw beyond the rows: the tray's left-click menu shows
// 接続 as its default item, bold; ﾍﾙﾌﾟ answers F1; the timed disconnect shows
// whether it is switched on.
TEST_F(MenuTest, TheMenusMarks) {
  EXPECT_EQ(window.popupMenu2()->defaultAction(), window.popupMenu2()->actions().at(0));
  EXPECT_TRUE(window.popupMenu2()->actions().at(0)->font().bold());
  EXPECT_FALSE(window.popupMenu2()->actions().at(1)->font().bold());
  EXPECT_EQ(action("Help1")->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_TRUE(action("JIGEN")->isCheckable());
  EXPECT_TRUE(action("JIGEN")->isChecked());
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

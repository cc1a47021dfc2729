// TForm1: controls and the rules of their places, clicks, parking and bringing back, the
// close request with the window-state keys.
#include "qt/desktop/mainwindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "engine/core/coretexts.h"
#include "fakes/recordingcore.h"
#include "support/layoutrules.h"

namespace tarvik {
namespace {

struct MainWindowTest : ::testing::Test {
  QTemporaryDir dir;
  test::RecordingCore core{dir.path().toStdString()};
  MainWindow window{core};
  template <typename T>
  T* find(const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
  }
  QColor colourOf(const char* name, QPalette::ColorRole role = QPalette::Window) {
    return find<QWidget>(name)->palette().color(role);
  }
};

TEST_F(MainWindowTest, ControlsAndCaptions) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvik"));
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  const std::pair<const char*, const char*> captions[] = {
      {"ConnectBtn", "接続"}, {"DiscBtn", "切断"}, {"Button3", "詳細"}};
  for (const auto& [name, caption] : captions)
    EXPECT_EQ(find<QPushButton>(name)->text(), QString::fromUtf8(caption));
  EXPECT_TRUE(find<QPushButton>("Button3")->isDefault());
  EXPECT_EQ(find<QLabel>("Label1")->text(), QStringLiteral("接続先"));
  EXPECT_EQ(find<QLabel>("Label2")->text(), QStringLiteral("B1"));
  EXPECT_EQ(find<QLabel>("Label3")->text(), QStringLiteral("B2"));
  EXPECT_FALSE(find<QLabel>("Label_NameDisplay")->isVisibleTo(&window));
  for (const char* box : {"Edit1", "Edit2"}) {
    EXPECT_TRUE(find<QLineEdit>(box)->isReadOnly());
    EXPECT_EQ(colourOf(box, QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(colourOf(box, QPalette::Text), QColor(Qt::yellow));
    EXPECT_FALSE(find<QLineEdit>(box)->focusPolicy() & Qt::TabFocus) << "no tab stop";
  }
  EXPECT_EQ(colourOf("Panel2"), QColor(Qt::black));
}

// The places follow from what the window shows, not from pixel numbers:
// every control inside the window, captions whole, nothing overlapping;
// the strip under 接続先, the two channel rows under it, the three buttons
// in one row under the panel, the status line at the bottom; and a window
// no larger than what it holds.
TEST_F(MainWindowTest, ThePlacesOfTheControls) {
  window.show();
  QWidget* client = window.centralWidget();
  test::expectTidyLayout(client);
  auto at = [&](const char* name) { return test::rectIn(find<QWidget>(name), client); };

  const QRect panel = at("Panel1"), strip = at("Panel2"), status = at("Label4");
  EXPECT_GT(strip.top(), at("Label1").bottom()) << "the strip lies under 接続先";
  EXPECT_TRUE(panel.contains(strip));
  const std::pair<const char*, const char*> rows[] = {{"Label2", "Edit1"}, {"Label3", "Edit2"}};
  for (const auto& [label, box] : rows) {
    EXPECT_TRUE(panel.contains(at(box))) << box;
    EXPECT_GT(at(box).top(), strip.bottom()) << box << " lies under the strip";
    EXPECT_LT(at(label).right(), at(box).left()) << label << " stands before its box";
    EXPECT_TRUE(at(label).top() >= at(box).top() && at(label).top() < at(box).bottom())
        << label << " on the row of " << box;
  }
  EXPECT_GT(at("Edit2").top(), at("Edit1").bottom()) << "B2 under B1";
  EXPECT_EQ(at("Edit1").left(), at("Edit2").left());
  EXPECT_EQ(at("Edit1").size(), at("Edit2").size());

  const char* buttons[] = {"ConnectBtn", "DiscBtn", "Button3"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_GT(at(buttons[i]).top(), panel.bottom()) << buttons[i] << " under the panel";
    EXPECT_EQ(at(buttons[i]).top(), at(buttons[0]).top()) << buttons[i] << " in one row";
    EXPECT_EQ(at(buttons[i]).size(), at(buttons[0]).size()) << buttons[i];
    if (i > 0) { EXPECT_GT(at(buttons[i]).left(), at(buttons[i - 1]).right()) << "接続 切断 詳細 from the left"; }
  }
  EXPECT_GT(status.top(), at("Button3").bottom()) << "the status line under the buttons";

  // Small: the controls reach close to the right and bottom edges.
  int right = 0, bottom = 0;
  for (QWidget* w : test::controlsOf(client)) {
    right = std::max(right, at(w->objectName().toLatin1().constData()).right());
    bottom = std::max(bottom, at(w->objectName().toLatin1().constData()).bottom());
  }
  EXPECT_GE(right, client->width() - 8) << "no empty band on the right";
  EXPECT_GE(bottom, client->height() - 8) << "no empty band at the bottom";
}

// On start the keyboard acts on 接続: the focus is on that button, and the
// space bar presses it.
TEST_F(MainWindowTest, OnStartTheFocusIsOnConnect) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(QApplication::focusWidget(), find<QWidget>("ConnectBtn"));
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(core.last(), "ConnectBtnClick");
}

TEST_F(MainWindowTest, ClicksOnTheChannelRowsAndTheButtons) {
  window.show();
  const std::pair<const char*, const char*> clicks[] = {
      {"Edit1", "Edit1Click"}, {"Label2", "Edit1Click"}, {"Edit2", "Edit2Click"}, {"Label3", "Edit2Click"}};
  for (const auto& [name, call] : clicks) {
    QTest::mouseClick(find<QWidget>(name), Qt::LeftButton);
    EXPECT_EQ(core.last(), call) << name;
  }
  find<QPushButton>("ConnectBtn")->click();
  EXPECT_EQ(core.last(), "ConnectBtnClick");
  find<QPushButton>("DiscBtn")->click();
  EXPECT_EQ(core.last(), "DiscBtnClick");
  QSignalSpy details(&window, &MainWindow::detailsRequested);
  find<QPushButton>("Button3")->click();
  QTest::keyClick(find<QLineEdit>("Edit1"), Qt::Key_Return);
  EXPECT_EQ(details.size(), 2) << "Enter presses the default button 詳細";
  QTest::mouseClick(find<QLabel>("Label1"), Qt::LeftButton);
  EXPECT_TRUE(window.isMinimized()) << "a click on the destination label minimises";
}

TEST_F(MainWindowTest, TheProgramsOwnStatusTextsFitTheLineWhole) {
  window.show();
  auto* line = find<QLabel>("Label4");
  const QSize windowSize = window.size();
  const std::string texts[] = {
      texts::kWaiting,
      "23:59",
      std::string(texts::kDialStart) + "(10/10)",
      texts::kLogWritten,
      texts::kUnreachable,
      std::string(texts::kBadDestination) + "16",
      "99時間59分59秒 ",
      "1439分 59秒 ",
  };
  for (const std::string& text : texts) {
    EXPECT_TRUE(window.setStatusLine(QString::fromStdString(text))) << text;
    EXPECT_EQ(line->text(), QString::fromStdString(text)) << "shown whole";
    EXPECT_LE(line->fontMetrics().horizontalAdvance(QString::fromStdString(text)), line->contentsRect().width())
        << text << " is wider than the line";
    EXPECT_TRUE(line->toolTip().isEmpty()) << text;
    EXPECT_LE(line->geometry().right(), window.centralWidget()->width()) << "inside the window";
  }
  EXPECT_EQ(window.size(), windowSize);
}

// The status line, the destination label and the caller name display keep
// their width: a wider text is cut with an ellipsis (never mid-character,
// never silently) and shown whole in the tooltip.
TEST_F(MainWindowTest, TextsWiderThanTheirLabelAreCutWithAnEllipsisAndShownWholeInTheTooltip) {
  window.show();
  const QSize windowSize = window.size();
  const struct {
    const char* label;
    QString longText, shortText;
    std::function<void(const QString&)> show;
  } cases[] = {
      {"Label4", QStringLiteral("網側から切断されました 接続時間 0分"), QStringLiteral("待機中"),
       [this](const QString& t) { window.setStatusLine(t); }},
      {"Label1", QStringLiteral("株式会社山田商店 本社 営業部"), QStringLiteral("山田商店"),
       [this](const QString& t) { window.setDestinationLabel(t); }},
      {"Label_NameDisplay", QStringLiteral("株式会社山田商店 本社"), QStringLiteral("実家"),
       [this](const QString& t) { window.showCallerName(t, QStringLiteral("0312341234")); }},
  };
  for (const auto& c : cases) {
    auto* label = find<QLabel>(c.label);
    c.show(c.longText);
    EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << c.label << ": " << label->text().toStdString();
    EXPECT_TRUE(c.longText.startsWith(label->text().chopped(1))) << c.label;
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
        << c.label << ": the cut text shows whole, ellipsis included";
    EXPECT_EQ(label->toolTip(), c.longText) << c.label;
    EXPECT_EQ(window.size(), windowSize) << c.label << ": the window keeps its size";
    // The next short text shows whole again, without a tooltip.
    c.show(c.shortText);
    EXPECT_EQ(label->text(), c.shortText) << c.label;
    EXPECT_TRUE(label->toolTip().isEmpty()) << c.label;
  }
}

TEST_F(MainWindowTest, MinimisingAndRestoringAreReportedForTheRestOfTheProgram) {
  window.show();
  QSignalSpy minimised(&window, &MainWindow::minimisedChanged);
  QTest::mouseClick(find<QLabel>("Label1"), Qt::LeftButton);
  ASSERT_EQ(minimised.size(), 1);
  EXPECT_EQ(minimised.at(0).at(0).toBool(), true);
  window.bringBack();
  ASSERT_EQ(minimised.size(), 2);
  EXPECT_EQ(minimised.at(1).at(0).toBool(), false);
}

// Parking moves the real window (the rules are the presentation's, tested
// in tests/unit/desktop): out of sight at top -300 but shown, back with a
// double click on the background; a place no screen shows is moved onto the
// real screen.
TEST_F(MainWindowTest, ParkingMovesTheWindowAndADoubleClickBringsItBack) {
  window.placeAt(350, 40);
  window.show();
  EXPECT_EQ(window.pos(), QPoint(350, 40));
  window.park();
  EXPECT_EQ(window.pos(), QPoint(350, MainWindow::kParkedTop));
  EXPECT_TRUE(window.isParked());
  EXPECT_TRUE(window.isVisible()) << "parked is not hidden";
  QTest::mouseDClick(window.centralWidget(), Qt::LeftButton);
  EXPECT_EQ(window.pos(), QPoint(350, 40)) << "a double click on the background brings it back";
  EXPECT_FALSE(window.isParked());

  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  window.placeAt(screen.right() + 2000, screen.top() + 40);
  EXPECT_TRUE(screen.contains(window.frameGeometry()));
  EXPECT_EQ(window.y(), screen.top() + 40) << "moved only as far as needed";
}

// A window whose top is -300 is parked, also when the saved top put it
// there: the close request then keeps the saved top.
TEST_F(MainWindowTest, ASavedParkedTopStartsTheWindowParked) {
  window.placeAt(350, MainWindow::kParkedTop);
  window.show();
  EXPECT_TRUE(window.isParked());
  core.closeAllowed = false;
  window.close();
  EXPECT_EQ(core.calls, std::vector<std::string>{"FormCloseQuery 1"});
  EXPECT_TRUE(core.placement.parked);
}

TEST_F(MainWindowTest, TheCloseRequestHandsOverThePositionAndWhetherTheWindowIsParked) {
  window.placeAt(350, 40);
  window.show();
  window.move(360, 70);
  window.park();
  core.closeAllowed = false;
  EXPECT_FALSE(window.close());
  EXPECT_EQ(core.calls, std::vector<std::string>{"FormCloseQuery 1"}) << "a refused close goes no further";
  EXPECT_EQ(core.placement.left, 360);
  EXPECT_TRUE(core.placement.parked) << "the engine keeps the top a parked window had";
  EXPECT_TRUE(window.isVisible());

  window.bringBack();
  core.closeAllowed = true;
  QSignalSpy closed(&window, &MainWindow::closed);
  EXPECT_TRUE(window.close());
  EXPECT_EQ(core.placement.top, window.y());
  EXPECT_FALSE(core.placement.parked);
  EXPECT_EQ(core.calls.back(), "FormClose");
  EXPECT_EQ(core.calls.at(core.calls.size() - 2), "FormCloseQuery 0");
  EXPECT_EQ(closed.size(), 1);
}

// The end of the session takes the window state as a close does, hands it to
// the core without a close request (no question), and ends once.
TEST_F(MainWindowTest, TheEndOfTheSessionSavesWithoutACloseRequest) {
  int written = 0;
  window.setWindowStateWriter([&](WindowPlacement&) { ++written; });
  window.placeAt(350, 40);
  window.show();
  window.move(365, 80);
  window.park();
  QSignalSpy closed(&window, &MainWindow::closed);
  window.endSession();
  window.endSession();
  EXPECT_EQ(core.calls, std::vector<std::string>{"EndSession 1"});
  EXPECT_EQ(core.placement.left, 365);
  EXPECT_TRUE(core.placement.parked);
  EXPECT_EQ(written, 1);
  EXPECT_EQ(closed.size(), 1);
  EXPECT_TRUE(window.close()) << "a close after the end goes through without asking";
  EXPECT_EQ(core.calls, std::vector<std::string>{"EndSession 1"});
}

TEST_F(MainWindowTest, TheWindowStateWriterRunsBeforeEveryCloseRequest) {
  std::vector<std::string> order;
  window.setWindowStateWriter([&](WindowPlacement& placement) {
    order.push_back("writer");
    placement.Width2 = 321;
  });
  core.closeAllowed = false;
  window.show();
  window.close();
  window.close();
  EXPECT_EQ(order.size(), 2u);
  EXPECT_EQ(core.calls, (std::vector<std::string>{"FormCloseQuery 0", "FormCloseQuery 0"}));
  EXPECT_EQ(core.placement.Width2, 321) << "what the writer adds reaches the engine";
}

TEST_F(MainWindowTest, TheCallerNameReplacesTheChannelRowsAndGoesAgain) {
  window.show();
  window.showCallerName(QStringLiteral("事務所"), QStringLiteral("0312341234"));
  EXPECT_TRUE(find<QLabel>("Label_NameDisplay")->isVisible());
  EXPECT_EQ(find<QLabel>("Label_NameDisplay")->text(), QStringLiteral("事務所"));
  EXPECT_TRUE(find<QLabel>("Label_NameDisplay")->font().bold());
  EXPECT_TRUE(find<QLabel>("Label_NameDisplay")->font().underline());
  EXPECT_GE(find<QLabel>("Label_NameDisplay")->height(),
            find<QLabel>("Label_NameDisplay")->fontMetrics().height())
      << "the whole line shows, underline included";
  for (const char* hidden : {"Label2", "Edit1", "Edit2"})
    EXPECT_FALSE(find<QWidget>(hidden)->isVisible()) << hidden;
  EXPECT_EQ(find<QLabel>("Label3")->text(), QStringLiteral("   0312341234"));
  window.clearCallerName();
  EXPECT_FALSE(find<QLabel>("Label_NameDisplay")->isVisible());
  EXPECT_EQ(find<QLabel>("Label_NameDisplay")->text(), QStringLiteral("着信"));
  for (const char* shown : {"Label2", "Edit1", "Edit2"})
    EXPECT_TRUE(find<QWidget>(shown)->isVisible()) << shown;
  EXPECT_EQ(find<QLabel>("Label3")->text(), QStringLiteral("B2"));
}

TEST_F(MainWindowTest, PanelStripAndMonitoringColours) {
  window.setPanelColour(PanelColour::Red);
  EXPECT_EQ(colourOf("Panel1"), QColor(255, 0, 0));
  window.setPanelColour(PanelColour::Normal);
  EXPECT_EQ(colourOf("Panel1"), window.palette().color(QPalette::Button));
  window.setStrip(StripColour::Day);
  EXPECT_EQ(colourOf("Panel2"), QColor(0, 0, 255));
  window.setStrip(StripColour::Night);
  EXPECT_EQ(colourOf("Panel2"), QColor(0, 128, 0));
  window.setMonitoringOff(true);
  EXPECT_FALSE(find<QLineEdit>("Edit1")->isEnabled());
  EXPECT_FALSE(find<QLineEdit>("Edit2")->isEnabled());
  window.setMonitoringOff(false);
  EXPECT_TRUE(find<QLineEdit>("Edit1")->isEnabled());
}

TEST_F(MainWindowTest, CopyingAnAddressShowsItSelectedAndPutsItOnTheClipboard) {
  for (const QString& address : {QStringLiteral("192.168.10.5"), QString()}) {
    QGuiApplication::clipboard()->setText(QStringLiteral("old"));
    window.copyToClipboard(Channel::B2, address);
    EXPECT_EQ(find<QLineEdit>("Edit2")->text(), address);
    EXPECT_EQ(find<QLineEdit>("Edit2")->selectedText(), address);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), address);
  }
}

}  // namespace
}  // namespace tarvik

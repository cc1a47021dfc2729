// All windows and tray icons together over a recording core: what the core
// shows lands in the right window, the questions answer the core, the tray
// icons open their menus and copy addresses, F1 opens the manual.
#include "qt/desktop/desktopshell.h"
#include "qt/windows/usagewindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "qt/desktop/mainwindow.h"
#include "engine/base/sjis.h"
#include "qt/dialogs/destinationbox.h"
#include "fakes/fakeports.h"
#include "fakes/recordingcore.h"
#include "qt/tray/taskbar.h"
#include "qt/windows/aboutbox.h"
#include "qt/windows/credentialsdialog.h"
#include "qt/windows/detailswindow.h"

namespace tarvik {
namespace {

QMessageBox* visibleMessageBox() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  }
  return nullptr;
}

QAbstractButton* button(QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons()) {
    if (b->text() == text) return b;
  }
  return nullptr;
}

struct ShellTest : ::testing::Test {
  QTemporaryDir dir;
  test::RecordingCore core{dir.path().toStdString()};
  QtView view;
  test::FakeBrowser browser;
  std::vector<std::string> played;
  std::unique_ptr<DesktopShell> shell = make(true);

  std::unique_ptr<DesktopShell> make(bool tray) {
    return std::make_unique<DesktopShell>(
        core, view, browser, [this](const std::string& p) { played.push_back(p); }, tray);
  }
  ~ShellTest() override {
    while (QMessageBox* box = visibleMessageBox()) box->done(0);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* menu = qobject_cast<QMenu*>(w)) menu->hide();
    }
  }
  const DesktopWindows& w() const { return shell->windows(); }
  template <typename T>
  T* inMain(const char* name) {
    return w().main->findChild<T*>(QString::fromLatin1(name));
  }
  QAction* action(const char* name) { return inMain<QAction>(name); }
};

TEST_F(ShellTest, WhatTheCoreShowsLandsInItsWindow) {
  view.setStatusLine("ダイアル開始 ");
  EXPECT_EQ(inMain<QLabel>("Label4")->text(), QStringLiteral("ダイアル開始 "));
  view.setChannelText(Channel::B1, "接続中");
  view.setChannelText(Channel::B2, "192.168.0.9");
  EXPECT_EQ(inMain<QLineEdit>("Edit1")->text(), QStringLiteral("接続中"));
  EXPECT_EQ(inMain<QLineEdit>("Edit2")->text(), QStringLiteral("192.168.0.9"));
  view.setDestinationLabel("プロバイダ");
  EXPECT_EQ(inMain<QLabel>("Label1")->text(), QStringLiteral("プロバイダ"));
  view.setConnectHint("#0 プロバイダ");
  EXPECT_EQ(inMain<QPushButton>("ConnectBtn")->toolTip(), QStringLiteral("#0 プロバイダ"));
  view.setDestinationCaption(15, "#15 最後");
  EXPECT_EQ(action("NN15")->text(), QStringLiteral("#15 最後"));
  EXPECT_EQ(action("NM15")->text(), QStringLiteral("#15 最後"));
  view.setJigenCaption("時限切断 [6:00]");
  EXPECT_EQ(action("JIGEN")->text(), QStringLiteral("時限切断 [6:00]"));
  view.setPanelColour(PanelColour::Red);
  EXPECT_EQ(inMain<QFrame>("Panel1")->palette().color(QPalette::Window), QColor(255, 0, 0));
  view.showCallerName("事務所", "0312341234");
  EXPECT_EQ(inMain<QLabel>("Label_NameDisplay")->text(), QStringLiteral("事務所"));
  view.clearCallerName();
  EXPECT_EQ(inMain<QLabel>("Label3")->text(), QStringLiteral("B2"));

  view.setMainTip("B1 空き / B2 空き");
  EXPECT_EQ(w().TSOHO->tips(), QStringLiteral("B1 空き / B2 空き"));
  view.setChannelTip(Channel::B1, "10.0.0.1");
  view.setChannelTip(Channel::B2, "10.0.0.2");
  EXPECT_EQ(w().TB1->tips(), QStringLiteral("10.0.0.1"));
  EXPECT_EQ(w().TB2->tips(), QStringLiteral("10.0.0.2"));
  EXPECT_FALSE(w().TB1->isIconShown());
  view.setChannelIconVisible(Channel::B1, true);
  EXPECT_TRUE(w().TB1->isIconShown());
  EXPECT_FALSE(w().TB2->isIconShown());
  view.setChannelIconVisible(Channel::B1, false);
  EXPECT_FALSE(w().TB1->isIconShown());

  view.appendDetails("通信料金 10円");
  EXPECT_TRUE(w().details->text().endsWith(QStringLiteral("通信料金 10円")));
  view.clearDetails();
  EXPECT_EQ(w().details->text(), QString());
  view.setRouterVersion("MN128-SOHO.F Ver 2.40");
  EXPECT_EQ(w().about->routerVersion(), QStringLiteral("MN128-SOHO.F Ver 2.40"));

  std::vector<std::string> entries(16);
  entries[4] = "#4 四番";
  core.store.tarvik.DEFAULT = 4;
  view.setDestinationList(entries);
  EXPECT_EQ(w().settings->findChild<DestinationBox*>(QStringLiteral("ComboBox1"))->currentText(),
            QStringLiteral("#4 四番"));

  view.parkWindow();
  EXPECT_TRUE(w().main->isParked());
  view.restoreWindow();
  EXPECT_FALSE(w().main->isParked());
}

TEST_F(ShellTest, TheCoresCloseRequestClosesOnceItsHandlingHasReturned) {
  w().main->show();
  view.requestClose();
  EXPECT_TRUE(core.calls.empty());
  QApplication::processEvents();
  EXPECT_EQ(core.calls, (std::vector<std::string>{"FormCloseQuery 0", "FormClose"}));
}

TEST_F(ShellTest, TheDisconnectQuestionAnswersTheCore) {
  for (const char* answer : {"OK", "ｷｬﾝｾﾙ"}) {
    view.askDisconnectOnExit();
    QMessageBox* box = visibleMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("回線を切断してもよろしいですか?"));
    button(box, QString::fromUtf8(answer))->click();
  }
  EXPECT_EQ(core.calls,
            (std::vector<std::string>{"DisconnectQuestionAnswered 1", "DisconnectQuestionAnswered 0"}));
}

TEST_F(ShellTest, TheCredentialsDialogAnswersTheCoreInShiftJis) {
  view.askCredentials(toSjis("太郎"));
  ASSERT_TRUE(w().credentials->isVisible());
  EXPECT_EQ(w().credentials->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(), QStringLiteral("太郎"));
  w().credentials->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("秘密"));
  w().credentials->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
  EXPECT_EQ(core.last(), "CredentialsEntered " + toSjis("太郎") + " " + toSjis("秘密"));
  view.askCredentials("");
  w().credentials->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
  EXPECT_EQ(core.last(), "CredentialsCancelled");
}

TEST_F(ShellTest, TheTrayIconsMenusAndTheAddressCopy) {
  shell->show();
  w().TSOHO->press(TTaskBar::MouseButton::Left);
  EXPECT_TRUE(w().main->popupMenu2()->isVisible());
  w().main->popupMenu2()->hide();
  for (auto b : {TTaskBar::MouseButton::Middle, TTaskBar::MouseButton::Right}) {
    w().TSOHO->press(b);
    EXPECT_TRUE(w().main->popupMenu1()->isVisible());
    w().main->popupMenu1()->hide();
  }
  EXPECT_TRUE(w().TSOHO->isIconShown());

  view.setChannelTip(Channel::B2, "172.16.0.5");
  view.setChannelIconVisible(Channel::B2, true);
  for (auto b : {TTaskBar::MouseButton::Left, TTaskBar::MouseButton::Right}) {
    QGuiApplication::clipboard()->clear();
    w().TB2->press(b);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("172.16.0.5"));
    EXPECT_EQ(inMain<QLineEdit>("Edit2")->text(), QStringLiteral("172.16.0.5"));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu opens";
  }
}

TEST_F(ShellTest, MenuItemsOpenTheirWindows) {
  shell->show();
  action("K7")->trigger();
  EXPECT_TRUE(w().details->isVisible());
  EXPECT_FALSE(w().details->isModal());
  action("KTarvik3")->trigger();
  EXPECT_TRUE(w().settings->isVisible());
  EXPECT_EQ(core.last(), "Config");
  action("KTarvik1")->trigger();
  EXPECT_TRUE(w().about->isVisible());
  EXPECT_EQ(w().about->windowModality(), Qt::ApplicationModal);
  w().about->accept();
  EXPECT_EQ(shell->usageWindow(), nullptr) << "made at its first opening";
  action("KUsage2")->trigger();
  ASSERT_NE(shell->usageWindow(), nullptr);
  EXPECT_TRUE(shell->usageWindow()->isVisible());
  EXPECT_EQ(shell->usageWindow()->windowTitle(), QStringLiteral("利用状況"));
  shell->usageWindow()->close();
  action("KUsage1")->trigger();
  EXPECT_TRUE(shell->usageWindow()->isVisible());
}

TEST_F(ShellTest, F1OpensTheManualAndTheProgramsPageIsItsSectionAboutTarvik) {
  shell->show();
  QApplication::setActiveWindow(w().main);
  QTest::keyClick(w().main, Qt::Key_F1);
  ASSERT_EQ(browser.opened.size(), 1u);
  const QUrl manual(QString::fromStdString(browser.opened[0]));
  EXPECT_TRUE(manual.isLocalFile());
  EXPECT_TRUE(manual.toLocalFile().endsWith(QStringLiteral("manual/manual.html")));
  EXPECT_TRUE(QFileInfo(manual.toLocalFile()).isFile());
  action("KTarvik2")->trigger();
  ASSERT_EQ(browser.opened.size(), 2u);
  const QUrl page(QString::fromStdString(browser.opened[1]));
  EXPECT_EQ(page.fragment(), QStringLiteral("tarvik"));
  EXPECT_EQ(page.adjusted(QUrl::RemoveFragment), manual);
}

TEST_F(ShellTest, LoadedSettingsPlaceTheWindowsAndTheCloseWritesTheDetailsGeometry) {
  core.store.option.left = 120;
  core.store.option.top = 30;
  core.store.option.left2 = 200;
  core.store.option.top2 = 250;
  core.store.option.Width2 = 500;
  core.store.option.Height2 = 300;
  core.store.time.OFF = "6:15";
  shell->applyLoadedSettings();
  shell->show();
  EXPECT_EQ(w().main->pos(), QPoint(120, 30));
  EXPECT_EQ(w().details->savedGeometry(), QRect(200, 250, 500, 300));
  EXPECT_EQ(action("JIGEN")->text(), QStringLiteral("時限切断 [6:15]"));
  w().details->applyGeometry(210, 260, 520, 320);
  core.closeAllowed = false;
  w().main->close();
  EXPECT_EQ(core.placement.left2, 210);
  EXPECT_EQ(core.placement.top2, 260);
  EXPECT_EQ(core.placement.Width2, 520);
  EXPECT_EQ(core.placement.Height2, 320);
}

TEST_F(ShellTest, EveryButtonOfEveryWindowFitsItsCaptionWithRoomOnBothSides) {
  for (QWidget* window : {static_cast<QWidget*>(w().main), static_cast<QWidget*>(w().settings),
                          static_cast<QWidget*>(w().about), static_cast<QWidget*>(w().credentials),
                          static_cast<QWidget*>(w().details)}) {
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
      if (b->text().isEmpty()) continue;
      const int caption = QFontMetrics(b->font()).horizontalAdvance(b->text());
      EXPECT_GE(b->width() - caption, 2 * 8)
          << window->objectName().toStdString() << "/" << b->objectName().toStdString() << " \""
          << b->text().toStdString() << "\" is " << b->width() << " wide for a caption of " << caption;
    }
  }
}

TEST_F(ShellTest, ADetailsWindowNeverOpenedKeepsItsStoredSizeThroughTheClose) {
  core.store.option.left2 = 438;
  core.store.option.top2 = 300;
  core.store.option.Width2 = 438;
  core.store.option.Height2 = 279;
  shell->applyLoadedSettings();
  shell->show();
  core.closeAllowed = false;
  w().main->close();
  EXPECT_EQ(core.store.option.Width2, 438) << "not the window's minimum width";
  EXPECT_EQ(core.store.option.Height2, 279);
  EXPECT_EQ(core.store.option.left2, 438);
  EXPECT_EQ(core.store.option.top2, 300);
}

TEST_F(ShellTest, MinimisingTheMainWindowMinimisesTheOpenWindowsAndBringingBackRestoresThem) {
  shell->show();
  action("K7")->trigger();
  action("KTarvik3")->trigger();
  ASSERT_TRUE(w().details->isVisible());
  ASSERT_TRUE(w().settings->isVisible());
  QTest::mouseClick(inMain<QLabel>("Label1"), Qt::LeftButton);
  EXPECT_TRUE(w().main->isMinimized());
  EXPECT_TRUE(w().details->isMinimized()) << "the details window goes with the program";
  EXPECT_TRUE(w().settings->isMinimized()) << "the settings dialog goes with the program";
  EXPECT_FALSE(w().about->isVisible()) << "a closed window stays closed";
  action("K4")->trigger();  // 情報窓表示
  EXPECT_FALSE(w().main->isMinimized());
  EXPECT_FALSE(w().details->isMinimized());
  EXPECT_FALSE(w().settings->isMinimized());
  EXPECT_TRUE(w().details->isVisible());
  EXPECT_TRUE(w().settings->isVisible());
  EXPECT_FALSE(w().about->isVisible());
}

TEST_F(ShellTest, ARouterMessageTooWideForTheStatusLineIsWrittenWholeIntoTheDetailsWindow) {
  shell->show();
  view.setStatusLine("待機中");
  EXPECT_EQ(w().details->text(), QString()) << "a text that fits goes nowhere else";
  view.setStatusLine("網側から切断されました 接続時間 0分");
  EXPECT_EQ(inMain<QLabel>("Label4")->toolTip(), QStringLiteral("網側から切断されました 接続時間 0分"));
  EXPECT_TRUE(w().details->text().endsWith(QStringLiteral("\n網側から切断されました 接続時間 0分")))
      << w().details->text().toStdString();
}

TEST_F(ShellTest, StartingMinimisedParksTheWindowAtItsFirstShowing) {
  core.store.option.SIZE = true;
  shell->applyLoadedSettings();
  shell->show();
  EXPECT_TRUE(w().main->isParked());
  EXPECT_TRUE(w().main->windowFlags().testFlag(Qt::Tool))
      << "no taskbar button while the tray holds the program";
}

TEST_F(ShellTest, WithoutATrayTheWindowStaysReachableAndTheUserIsToldOnce) {
  shell.reset();
  shell = make(false);
  core.store.option.SIZE = true;
  shell->applyLoadedSettings();
  shell->show();
  EXPECT_FALSE(w().main->isParked());
  EXPECT_FALSE(w().main->windowFlags().testFlag(Qt::Tool)) << "the taskbar button stays";
  QMessageBox* box = visibleMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_NE(box->text().indexOf(QStringLiteral("タスクトレイ")), -1);
  box->done(0);
  QApplication::processEvents();
  view.parkWindow();
  EXPECT_EQ(visibleMessageBox(), nullptr) << "told once";
  EXPECT_TRUE(w().main->isMinimized());
}

TEST_F(ShellTest, MonitoringOffGreysTheChannelBoxesAtOnce) {
  w().settings->findChild<QCheckBox*>(QStringLiteral("CheckBox11"))->setChecked(true);
  EXPECT_FALSE(inMain<QLineEdit>("Edit1")->isEnabled());
  EXPECT_FALSE(inMain<QLineEdit>("Edit2")->isEnabled());
  w().settings->findChild<QCheckBox*>(QStringLiteral("CheckBox11"))->setChecked(false);
  EXPECT_TRUE(inMain<QLineEdit>("Edit1")->isEnabled());
}

}  // namespace
}  // namespace tarvik

#include "qt/tray/taskbar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>
#include <QWidget>

namespace tarvik {
namespace {

using Button = TTaskBar::MouseButton;

QIcon solidIcon(Qt::GlobalColor colour) {
  QPixmap pm(16, 16);
  pm.fill(colour);
  return QIcon(pm);
}

QColor firstPixel(const QIcon& icon) { return icon.pixmap(16, 16).toImage().pixelColor(0, 0); }

TEST(TTaskBar, EmptyImageShowsTheApplicationsIconAndAnImageReplacesIt) {
  QApplication::setWindowIcon(solidIcon(Qt::red));
  TTaskBar bar;
  EXPECT_EQ(firstPixel(bar.trayIcon()->icon()), QColor(Qt::red));
  bar.setIcon(solidIcon(Qt::green));
  EXPECT_EQ(firstPixel(bar.trayIcon()->icon()), QColor(Qt::green));
}

TEST(TTaskBar, TipsAreKeptTo255BytesAndShownTo63WithoutSplittingACharacter) {
  struct Case {
    QString tips;
    int keptChars;
    int shownChars;
  };
  const Case cases[] = {
      {QString(100, QLatin1Char('a')), 100, 63},
      {QString(300, QLatin1Char('a')), 255, 63},
      // Each of these is two bytes: 63 bytes hold 31 of them, never 31 and a half.
      {QString(40, QChar(0x63a5)), 40, 31},
      {QStringLiteral("B1 192.168.0.1"), 14, 14},
  };
  for (const Case& c : cases) {
    TTaskBar bar;
    bar.setTips(c.tips);
    EXPECT_EQ(bar.tips().size(), c.keptChars) << c.tips.toStdString();
    EXPECT_EQ(bar.shownTip(), c.tips.left(c.shownChars));
    EXPECT_EQ(bar.trayIcon()->toolTip(), bar.shownTip());
  }
}

TEST(TTaskBar, ShowingTwiceLeavesOneIconAndHidingAnAbsentOneIsHarmless) {
  TTaskBar b1, soho;
  soho.setEnableTaskTray(true);
  b1.setEnableTaskTray(false);
  EXPECT_FALSE(b1.isIconShown());
  b1.setEnableTaskTray(true);
  b1.setEnableTaskTray(true);
  EXPECT_TRUE(b1.isIconShown());
  b1.setEnableTaskTray(false);
  EXPECT_FALSE(b1.isIconShown());
  EXPECT_TRUE(soho.isIconShown()) << "one instance never touches another's icon";
}

struct MenuFixture : ::testing::Test {
  MenuFixture() {
    bar.setPopupMenuLeft(&left);
    bar.setPopupMenuMiddle(&big);
    bar.setPopupMenuRight(&big);
    left.addAction(QStringLiteral("接続"));
    big.addAction(QStringLiteral("B1 切断"));
  }
  ~MenuFixture() override {
    left.hide();
    big.hide();
  }
  TTaskBar bar;
  QMenu left, big;
};

TEST_F(MenuFixture, APressRaisesTheClickEventAndOpensThatButtonsMenu) {
  QSignalSpy clicks(&bar, &TTaskBar::OnTrayClick);
  const struct {
    Button button;
    QMenu* menu;
  } cases[] = {{Button::Left, &left}, {Button::Middle, &big}, {Button::Right, &big}};
  for (const auto& c : cases) {
    left.hide();
    big.hide();
    bar.press(c.button);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks.takeFirst().at(0).value<Button>(), c.button);
    EXPECT_TRUE(c.menu->isVisible());
  }
  EXPECT_EQ(bar.trayIcon()->contextMenu(), &big)
      << "the platform opens the right-button menu where it knows how";
}

TEST_F(MenuFixture, PlatformActivationsMapToTheMouseButtons) {
  QSignalSpy clicks(&bar, &TTaskBar::OnTrayClick);
  emit bar.trayIcon()->activated(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(left.isVisible());
  emit bar.trayIcon()->activated(QSystemTrayIcon::MiddleClick);
  EXPECT_TRUE(big.isVisible());
  big.hide();
  emit bar.trayIcon()->activated(QSystemTrayIcon::Context);
  EXPECT_FALSE(big.isVisible()) << "the platform has opened the context menu already";
  emit bar.trayIcon()->activated(QSystemTrayIcon::DoubleClick);
  ASSERT_EQ(clicks.size(), 3);
  EXPECT_EQ(clicks.at(0).at(0).value<Button>(), Button::Left);
  EXPECT_EQ(clicks.at(1).at(0).value<Button>(), Button::Middle);
  EXPECT_EQ(clicks.at(2).at(0).value<Button>(), Button::Right);
}

TEST(TTaskBar, AnIconWithoutMenusOnlyRaisesTheClickEvent) {
  TTaskBar channel;
  QSignalSpy clicks(&channel, &TTaskBar::OnTrayClick);
  for (Button b : {Button::Left, Button::Right, Button::Middle}) channel.press(b);
  EXPECT_EQ(clicks.size(), 3);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(TTaskBar, TheTaskbarButtonIsHiddenByMakingTheWindowAToolWindow) {
  QWidget window;
  window.show();
  TTaskBar bar;
  bar.setTaskBarWindow(&window);
  bar.setEnableTaskBar(false);
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(window.isVisible()) << "a shown window stays shown";
  bar.setEnableTaskBar(true);
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(bar.enableTaskBar());
}

}  // namespace
}  // namespace tarvik

#include "windows/aboutbox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "windows/programfiles.h"

namespace tarvik {
namespace {

// Runs the test from another working directory, as a user starting the
// program from elsewhere does.
struct ElsewhereFixture : ::testing::Test {
  ElsewhereFixture() : previous(QDir::currentPath()) { QDir::setCurrent(elsewhere.path()); }
  ~ElsewhereFixture() override { QDir::setCurrent(previous); }
  QTemporaryDir elsewhere;
  QString previous;
};

TEST_F(ElsewhereFixture, ControlsCaptionsAndPlaces) {
  AboutBox box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Tarvik - About"));
  EXPECT_EQ(box.size(), QSize(318, 180));
  EXPECT_EQ(box.findChild<QLabel*>(QStringLiteral("Image1"))->geometry(), QRect(26, 8, 271, 57));
  auto* version = box.findChild<QLabel*>(QStringLiteral("Label1"));
  EXPECT_EQ(version->text(), QStringLiteral("Version 1.46"));
  EXPECT_EQ(version->pos(), QPoint(124, 64));
  EXPECT_EQ(box.findChild<QLabel*>(QStringLiteral("Version"))->pos(), QPoint(40, 104));
  auto* ok = box.findChild<QPushButton*>(QStringLiteral("Button1"));
  EXPECT_EQ(ok->geometry(), QRect(121, 152, 75, 25));
  EXPECT_TRUE(ok->isDefault());
  EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

TEST_F(ElsewhereFixture, ThePictureIsFoundBesideTheProgramFromAnyWorkingDirectory) {
  const QStringList candidates = programFileCandidates(aboutPictureName());
  ASSERT_FALSE(candidates.isEmpty());
  EXPECT_EQ(candidates.first(),
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Tarvik.bmp")));
  EXPECT_EQ(candidates.last(), QDir::current().filePath(QStringLiteral("Tarvik.bmp")));
  AboutBox box;
  box.showModal();
  EXPECT_TRUE(box.hasPicture());
  box.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
  EXPECT_FALSE(box.isVisible());
}

TEST_F(ElsewhereFixture, AMissingOrBrokenPictureLeavesTheBoxOpeningWithoutIt) {
  {
    AboutBox box(nullptr, QStringLiteral("NoSuchPicture.bmp"));
    box.showModal();
    EXPECT_TRUE(box.isVisible());
    EXPECT_FALSE(box.hasPicture());
  }
  QFile broken(QStringLiteral("Broken.bmp"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("BM not really a bitmap");
  broken.close();
  AboutBox box(nullptr, QStringLiteral("Broken.bmp"));
  box.showModal();
  EXPECT_TRUE(box.isVisible());
  EXPECT_FALSE(box.hasPicture());
}

TEST_F(ElsewhereFixture, TheRouterBannerIsShownAsItArrives) {
  AboutBox box;
  EXPECT_EQ(box.routerVersion(), QString());
  box.setRouterVersion(QStringLiteral("# MN128-SOHO-S Ver 2.10"));
  EXPECT_EQ(box.routerVersion(), QStringLiteral("# MN128-SOHO-S Ver 2.10"));
}

}  // namespace
}  // namespace tarvik

#include "qt/windows/aboutbox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "support/layoutrules.h"
#include "qt/windows/programfiles.h"

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
  EXPECT_EQ(box.minimumSize(), box.maximumSize()) << "fixed size";
  auto* picture = box.findChild<QLabel*>(QStringLiteral("Image1"));
  auto* version = box.findChild<QLabel*>(QStringLiteral("Label1"));
  auto* licence = box.findChild<QLabel*>(QStringLiteral("LicenseLabel"));
  auto* router = box.findChild<QLabel*>(QStringLiteral("Version"));
  auto* ok = box.findChild<QPushButton*>(QStringLiteral("Button1"));
  ASSERT_TRUE(picture && version && licence && router && ok);
  EXPECT_EQ(version->text(), QStringLiteral("Version 1.46"));
  EXPECT_EQ(licence->text(), QStringLiteral("MIT License"));
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
  EXPECT_TRUE(ok->isDefault());
  EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowCloseButtonHint));

  // With the picture and a long router banner: everything inside, whole,
  // apart; from the top the picture, the program's version, the router's,
  // then OK in the middle of the bottom.
  box.showModal();
  ASSERT_TRUE(box.hasPicture());
  box.setRouterVersion(QStringLiteral("# MN128-SOHO-SL11 Ver 2.10 (rev 3)"));
  test::expectTidyLayout(&box);
  const QRect drawnPicture = test::drawnRectIn(picture, &box);
  EXPECT_EQ(drawnPicture.size(), picture->pixmap().deviceIndependentSize().toSize()) << "the picture whole";
  EXPECT_LT(drawnPicture.bottom(), test::drawnRectIn(version, &box).top());
  EXPECT_LT(test::drawnRectIn(version, &box).bottom(), test::drawnRectIn(licence, &box).top());
  EXPECT_LT(test::drawnRectIn(licence, &box).bottom(), test::drawnRectIn(router, &box).top());
  EXPECT_LT(test::drawnRectIn(router, &box).bottom(), ok->geometry().top());
  EXPECT_LE(std::abs(ok->geometry().left() - (box.width() - 1 - ok->geometry().right())), 2) << "OK centred";
  EXPECT_GE(ok->geometry().bottom(), box.height() - 8) << "OK at the bottom";
  ok->click();
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

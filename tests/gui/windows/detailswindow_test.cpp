#include "windows/detailswindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "fakes/recordingcore.h"
#include "windows/fonts.h"

namespace tarvik {
namespace {

struct DetailsFixture : ::testing::Test {
  QTemporaryDir dir;
  test::RecordingCore core{dir.path().toStdString()};
  DetailsWindow window{core};
};

TEST_F(DetailsFixture, SixReportButtonsWithTheirCaptionsPlacesAndCommands) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvik - 詳細"));
  const struct {
    const char* name;
    const char* caption;
    ReportButton button;
    bool fixedPitch;
  } rows[] = {
      {"Button1", "課金情報", ReportButton::Charges, true},
      {"Button2", "接続ログ", ReportButton::ConnectionLog, true},
      {"Button3", "PPP情報", ReportButton::Ppp, true},
      {"Button4", "アナログ情報", ReportButton::Analog, true},
      {"Mail_Button", "メール情報", ReportButton::Mail, false},
      {"PHS_Button", "PHSメール", ReportButton::PhsMail, false},
  };
  int left = 8;
  for (const auto& row : rows) {
    auto* b = window.findChild<QPushButton*>(QString::fromLatin1(row.name));
    ASSERT_NE(b, nullptr) << row.name;
    EXPECT_EQ(b->text(), QString::fromUtf8(row.caption));
    // In a row from the left, 75 x 25 or wider when the caption needs it,
    // 5 pixels apart.
    EXPECT_EQ(b->pos(), QPoint(left, 8)) << row.name;
    EXPECT_EQ(b->height(), 25) << row.name;
    EXPECT_GE(b->width(), 75) << row.name;
    left += b->width() + 5;
    EXPECT_EQ(b->font().fixedPitch(), row.fixedPitch) << row.name;
    b->click();
    EXPECT_EQ(core.last(), "ReportButtonClick " + std::to_string(static_cast<int>(row.button)));
  }
  EXPECT_EQ(core.calls.size(), 6u);
}

TEST_F(DetailsFixture, LinesAreAppendedBelowAnEmptyFirstRowAndAClearEmptiesAll) {
  auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_TRUE(memo->font().fixedPitch());
  window.appendLine(QStringLiteral("課金情報 1"));
  window.appendLine(QStringLiteral("課金情報 2"));
  EXPECT_EQ(window.text(), QStringLiteral("\n課金情報 1\n課金情報 2"));
  window.clearText();
  EXPECT_EQ(window.text(), QString());
  window.appendLine(QStringLiteral("#0 プロバイダ"));
  EXPECT_EQ(window.text(), QStringLiteral("#0 プロバイダ"));
}

TEST_F(DetailsFixture, ResizingGivesTheTextAllTheSpaceAboveAFixedButtonBar) {
  window.applyGeometry(438, 300, 438, 279);
  window.show();
  auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  auto* bar = window.findChild<QFrame*>(QStringLiteral("Panel1"));
  EXPECT_GT(window.width(), window.findChild<QPushButton*>(QStringLiteral("PHS_Button"))->geometry().right())
      << "every button shows, also at the default width";
  for (QSize size : {QSize(500, 279), QSize(600, 500), QSize(483, 150)}) {
    window.resize(size);
    QApplication::processEvents();
    EXPECT_EQ(bar->height(), 37);
    EXPECT_EQ(bar->geometry().bottom(), window.height() - 1);
    EXPECT_EQ(bar->width(), window.width());
    EXPECT_EQ(memo->geometry(), QRect(0, 0, window.width(), window.height() - 37));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("Button1"))->pos(), QPoint(8, 8));
  }
}

TEST_F(DetailsFixture, EveryButtonFitsItsCaptionWithRoomOnBothSides) {
  for (QPushButton* b : window.findChildren<QPushButton*>()) {
    const int caption = QFontMetrics(b->font()).horizontalAdvance(b->text());
    EXPECT_GE(b->width() - caption, 2 * 8) << b->objectName().toStdString() << " is " << b->width()
                                           << " wide for a caption of " << caption;
  }
}

TEST_F(DetailsFixture, GeometryKeysRoundTripAndTheMinimumWidthOnlyAppliesOnScreen) {
  window.applyGeometry(120, 140, 500, 320);
  EXPECT_EQ(window.savedGeometry(), QRect(120, 140, 500, 320));
  // Never opened: what was read is written back unchanged.
  window.applyGeometry(120, 140, 438, 279);
  EXPECT_EQ(window.savedGeometry(), QRect(120, 140, 438, 279));
  window.applyGeometry(120, 140, 300, 320);
  EXPECT_EQ(window.savedGeometry(), QRect(120, 140, 300, 320));
  // Shown, the window is no narrower than its buttons, and that is saved.
  window.show();
  QApplication::processEvents();
  auto* last = window.findChild<QPushButton*>(QStringLiteral("PHS_Button"));
  EXPECT_GE(window.width(), last->geometry().right() + 1);
  EXPECT_EQ(window.savedGeometry().width(), window.width());
}

}  // namespace
}  // namespace tarvik

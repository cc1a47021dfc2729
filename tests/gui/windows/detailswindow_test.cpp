#include "qt/windows/detailswindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "fakes/recordingcore.h"
#include "support/layoutrules.h"
#include "qt/windows/fonts.h"

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
  QPushButton* previous = nullptr;
  int gap = -1;
  for (const auto& row : rows) {
    auto* b = window.findChild<QPushButton*>(QString::fromLatin1(row.name));
    ASSERT_NE(b, nullptr) << row.name;
    EXPECT_EQ(b->text(), QString::fromUtf8(row.caption));
    // In one row from the left in this order, evenly apart, of one height,
    // 75 wide or wider when the caption needs it.
    EXPECT_GE(b->width(), 75) << row.name;
    if (previous) {
      EXPECT_EQ(b->y(), previous->y()) << row.name;
      EXPECT_EQ(b->height(), previous->height()) << row.name;
      const int space = b->x() - previous->geometry().right() - 1;
      EXPECT_GT(space, 0) << row.name << " stands after " << previous->objectName().toStdString();
      if (gap >= 0) { EXPECT_EQ(space, gap) << row.name; }
      gap = space;
    }
    previous = b;
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
  auto* first = window.findChild<QPushButton*>(QStringLiteral("Button1"));
  // At the default size every button shows whole, inside the bar.
  test::expectTidyLayout(&window);
  for (QPushButton* b : bar->findChildren<QPushButton*>()) test::expectInside(b, &window);
  const int barHeight = bar->height();
  const QPoint firstAt = first->pos();
  EXPECT_GT(firstAt.x(), 0) << "the buttons keep off the edges of the bar";
  EXPECT_GT(firstAt.y(), 0);
  EXPECT_LT(first->geometry().bottom(), barHeight - 1);
  for (QSize size : {QSize(500, 279), QSize(600, 500), QSize(483, 150)}) {
    window.resize(size);
    QApplication::processEvents();
    EXPECT_EQ(bar->height(), barHeight) << "the bar keeps its height";
    EXPECT_EQ(bar->geometry().bottom(), window.height() - 1) << "at the bottom";
    EXPECT_EQ(bar->width(), window.width());
    EXPECT_EQ(memo->geometry(), QRect(0, 0, window.width(), window.height() - barHeight))
        << "the text takes all the rest";
    EXPECT_EQ(first->pos(), firstAt) << "the buttons stay at the bar's left";
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

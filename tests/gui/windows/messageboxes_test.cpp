#include "qt/windows/messageboxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>

namespace tarvik {
namespace {

QAbstractButton* buttonWithText(QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons()) {
    if (b->text() == text) return b;
  }
  return nullptr;
}

TEST(DisconnectQuestion, TitleTextButtonsAndTheAnswerOfEachWayOut) {
  const struct {
    const char* how;
    bool expected;
  } cases[] = {{"OK", true}, {"ｷｬﾝｾﾙ", false}, {"close", false}};
  for (const auto& c : cases) {
    std::vector<bool> answers;
    QPointer<QMessageBox> box = askDisconnectOnExit(nullptr, [&](bool ok) { answers.push_back(ok); });
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("確認"));
    EXPECT_EQ(box->text(), QStringLiteral("回線を切断してもよろしいですか?"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    ASSERT_EQ(box->buttons().size(), 2);
    const QString how = QString::fromUtf8(c.how);
    if (how == QLatin1String("close")) {
      box->reject();
    } else {
      buttonWithText(box, how)->click();
    }
    EXPECT_EQ(answers, std::vector<bool>{c.expected}) << c.how;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(box) << "the box goes away after its answer";
  }
}

TEST(MessageBoxes, ErrorAndWarningBoxesCarryTheTextAndAnOkButton) {
  QMessageBox* error = showErrorBox(nullptr, QStringLiteral("'x' は整数ではありません"));
  EXPECT_EQ(error->text(), QStringLiteral("'x' は整数ではありません"));
  EXPECT_EQ(error->icon(), QMessageBox::Critical);
  QMessageBox* warning = showWarningBox(nullptr, QStringLiteral("数字のみ入力して下さい"));
  EXPECT_EQ(warning->icon(), QMessageBox::Warning);
  for (QMessageBox* box : {error, warning}) {
    EXPECT_TRUE(box->isVisible());
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons().first()->text(), QStringLiteral("OK"));
    box->buttons().first()->click();
  }
}

}  // namespace
}  // namespace tarvik

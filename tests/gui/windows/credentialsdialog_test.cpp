#include "qt/windows/credentialsdialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "support/layoutrules.h"

namespace tarvik {
namespace {

struct CredentialsFixture : ::testing::Test {
  CredentialsDialog dialog;
  QLineEdit* id = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
  QLineEdit* password = dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"));
  QPushButton* ok = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
  QPushButton* cancel = dialog.findChild<QPushButton*>(QStringLiteral("Button2"));
  QSignalSpy entered{&dialog, &CredentialsDialog::entered};
  QSignalSpy cancelled{&dialog, &CredentialsDialog::cancelled};
};

TEST_F(CredentialsFixture, ControlsAndCaptions) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tarvik"));
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(cancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  QStringList labels;
  for (QLabel* l : dialog.findChildren<QLabel*>()) labels << l->text();
  EXPECT_TRUE(labels.contains(QStringLiteral("ﾕｰｻﾞｰ名 ")));
  EXPECT_TRUE(labels.contains(QStringLiteral("ﾊﾟｽﾜｰﾄﾞ")));
  test::expectTidyLayout(&dialog);
}

TEST_F(CredentialsFixture, OkGivesBothTextsVerbatimAndTheNextOpeningStartsWithAnEmptyPassword) {
  dialog.ask(QStringLiteral("taro"));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(id->text(), QStringLiteral("taro"));
  EXPECT_EQ(password->text(), QString());
  id->setText(QStringLiteral(" hanako "));
  password->setText(QStringLiteral("pa ss"));
  ok->click();
  ASSERT_EQ(entered.size(), 1);
  EXPECT_EQ(entered.at(0).at(0).toString(), QStringLiteral(" hanako "));
  EXPECT_EQ(entered.at(0).at(1).toString(), QStringLiteral("pa ss"));
  EXPECT_FALSE(dialog.isVisible());
  dialog.ask(QStringLiteral("hanako"));
  EXPECT_EQ(password->text(), QString());
  EXPECT_EQ(id->text(), QStringLiteral("hanako"));
}

TEST_F(CredentialsFixture, CancelAndTheCloseBoxBothCancel) {
  dialog.ask(QString());
  cancel->click();
  dialog.ask(QString());
  dialog.close();
  EXPECT_EQ(cancelled.size(), 2);
  EXPECT_EQ(entered.size(), 0);
}

TEST_F(CredentialsFixture, ASecondRequestWhileOpenKeepsWhatIsTypedAndGetsTheOneAnswer) {
  dialog.ask(QStringLiteral("taro"));
  password->setText(QStringLiteral("secret"));
  dialog.ask(QStringLiteral("other"));
  EXPECT_EQ(id->text(), QStringLiteral("taro"));
  EXPECT_EQ(password->text(), QStringLiteral("secret"));
  ok->click();
  EXPECT_EQ(entered.size(), 1);
}

}  // namespace
}  // namespace tarvik

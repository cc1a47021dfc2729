// The caller-name editor in the dialog (the rules themselves are tested
// with the settings): trimming, the "-" warning, empty fields, adding at
// the end (duplicates allowed), deleting the selected entry.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include "settingsfixture.h"

namespace tarvik {
namespace {

struct NameListTest : test::SettingsFixture, ::testing::Test {
  void add(const QString& number, const QString& name) {
    dialog.pages().number->setText(number);
    dialog.pages().name->setText(name);
    dialog.pages().addName->click();
  }
  QStringList shown() const {
    QStringList out;
    for (int i = 0; i < dialog.pages().nameList->count(); ++i)
      out << dialog.pages().nameList->item(i)->text();
    return out;
  }
};

TEST_F(NameListTest, AddingAppendsAtTheEndAndPutsTheTrimmedTextsBack) {
  add(QStringLiteral(" 0312341234 "), QStringLiteral("事務所"));
  add(QStringLiteral("0451112222"), QStringLiteral("Home"));
  add(QStringLiteral("0451112222"), QStringLiteral("Home"));
  EXPECT_EQ(shown(), QStringList({"0312341234:事務所", "0451112222:Home", "0451112222:Home"}));
  EXPECT_EQ(core.store.nameList,
            (std::vector<std::string>{toSjis("0312341234:事務所"), "0451112222:Home", "0451112222:Home"}));
  EXPECT_EQ(dialog.pages().number->text(), QStringLiteral("0451112222")) << "the fields are not cleared";
}

TEST_F(NameListTest, ADashShowsTheWarningAndAddsNothingAndAnEmptyFieldAddsNothingSilently) {
  dialog.show();
  add(QStringLiteral("03-1234"), QStringLiteral("Office"));
  QMessageBox* box = dialog.findChild<QMessageBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text(), QStringLiteral("数字のみ入力して下さい"));
  ASSERT_EQ(box->buttons().size(), 1);
  EXPECT_EQ(box->buttons().first()->text(), QStringLiteral("OK"));
  box->done(0);
  add(QStringLiteral("0312341234"), QString());
  EXPECT_TRUE(shown().isEmpty());
  EXPECT_TRUE(core.store.nameList.empty());
}

TEST_F(NameListTest, DeleteRemovesTheSelectedEntryAndNothingWithoutASelection) {
  core.store.nameList = {"1:a", "2:b", "3:c"};
  dialog.loadFromStore();
  dialog.pages().deleteName->click();
  EXPECT_EQ(core.store.nameList.size(), 3u);
  dialog.pages().nameList->setCurrentRow(1);
  dialog.pages().deleteName->click();
  EXPECT_EQ(shown(), QStringList({"1:a", "3:c"}));
  EXPECT_EQ(core.store.nameList, (std::vector<std::string>{"1:a", "3:c"}));
}

}  // namespace
}  // namespace tarvik

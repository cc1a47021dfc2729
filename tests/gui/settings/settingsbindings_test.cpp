// The Qt dialog's side of the settings form: every row of the form's table
// has a widget of its name and kind, each widget tells the form its
// changes, and what the form does shows in the widgets. What the form
// does with the values is tested once, in tests/unit/desktop.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <map>

#include "desktop/settingsformtable.h"
#include "engine/settings/settingskeys.h"
#include "qt/dialogs/destinationbox.h"
#include "settingsfixture.h"

namespace tarvik {
namespace {

using desktop::ControlKind;
using desktop::FormAction;
using desktop::FormButton;
using desktop::FormField;

// What the user reads beside each check box, by the key it switches.
const std::map<std::string, QString> kCaptions = {
    {"OPTION/CHECK11", QStringLiteral("監視しない")},
    {"OPTION/SIZE", QStringLiteral("起動時最小化")},
    {"OPTION/CHECK4", QStringLiteral("接続時最大化")},
    {"OPTION/NEXT", QStringLiteral("次々ステータスを表示しない")},
    {"OPTION/CHECK5", QStringLiteral("切断時最小化")},
    {"OPTION/CHECK10", QStringLiteral("タスクトレイにB1 B2状態表示")},
    {"OPTION/CHECK15", QStringLiteral("常駐終了時 回線切断")},
    {"OPTION/ONSCREEN", QStringLiteral("常に手前に表示(再起動後有効)")},
    {"OPTION/CHECK13", QStringLiteral("テレホーダイ中に起動した場合、自動接続")},
    {"OPTION/CHECK18", QStringLiteral("SOHO-スクリプトを使用")},
    {"OPTION/CHECK6", QStringLiteral("接続時間")},
    {"OPTION/CHECK7", QStringLiteral("IPアドレス")},
    {"OPTION/CHECK8", QStringLiteral("接続モード")},
    {"OPTION/CHECK9", QStringLiteral("電話番号")},
    {"OPTION/CHECK14", QStringLiteral("回線使用率")},
    {"OPTION/CHECK19", QStringLiteral("転送レート")},
    {"OPTION/CHECK12", QStringLiteral("起動時にMN128-SOHOの内蔵時計を合わせる")},
    {"OPTION/CHECK16", QStringLiteral("接続時 ID,PASSWORDを別入力")},
    {"OPTION/CHECK17", QStringLiteral("接続ログをファイルへ保存")},
    {"SECRET/KEYRING", QStringLiteral("キーリングに保存")},
    {"NOTIFY/INCOMING", QStringLiteral("着信 (名前と電話番号)")},
    {"NOTIFY/CONNECTED", QStringLiteral("接続 (接続先とIPアドレス)")},
    {"NOTIFY/DISCONNECTED", QStringLiteral("切断 (接続時間)")},
    {"NOTIFY/FAILED", QStringLiteral("接続失敗・話中")},
    {"NOTIFY/ROUTER", QStringLiteral("ルーターの応答が途絶えたとき・戻ったとき")},
};

std::string keyName(const SettingKey& key) { return std::string(key.section) + "/" + std::string(key.key); }

struct BindingTest : test::SettingsFixture, ::testing::Test {
  BindingTest() {
    QStringList entries;
    for (int i = 0; i < DestinationBox::kEntries; ++i) entries << QStringLiteral("#%1 provider%1").arg(i);
    dialog.setDestinationList(entries);
  }
  QWidget* widget(std::string_view name) { return find<QWidget>(std::string(name).c_str()); }
  ~BindingTest() override {
    for (QMessageBox* box : dialog.findChildren<QMessageBox*>()) box->done(0);
  }
};

TEST_F(BindingTest, EveryRowOfTheFormTableHasAWidgetOfItsNameAndKind) {
  for (const FormField& field : desktop::settingsFormFields()) {
    SCOPED_TRACE(std::string(field.control));
    QWidget* w = widget(field.control);
    ASSERT_NE(w, nullptr) << "no widget of that name";
    const SettingKey* key = desktop::settingKeyOf(field);
    switch (field.kind) {
      case ControlKind::Text:
      case ControlKind::AppCommand:
      case ControlKind::NameField:
        ASSERT_NE(qobject_cast<QLineEdit*>(w), nullptr);
        EXPECT_EQ(qobject_cast<QLineEdit*>(w)->echoMode(), QLineEdit::Normal);
        break;
      case ControlKind::Password:
        ASSERT_NE(qobject_cast<QLineEdit*>(w), nullptr);
        EXPECT_EQ(qobject_cast<QLineEdit*>(w)->echoMode(), QLineEdit::Password);
        break;
      case ControlKind::Number:
        ASSERT_NE(qobject_cast<QSpinBox*>(w), nullptr);
        EXPECT_EQ(qobject_cast<QSpinBox*>(w)->minimum(), key->min) << "the box keeps the key's range";
        EXPECT_EQ(qobject_cast<QSpinBox*>(w)->maximum(), key->max);
        break;
      case ControlKind::Check:
        ASSERT_NE(qobject_cast<QCheckBox*>(w), nullptr);
        ASSERT_EQ(kCaptions.count(keyName(*key)), 1u) << "a check box without a caption here";
        EXPECT_EQ(qobject_cast<QCheckBox*>(w)->text(), kCaptions.at(keyName(*key)));
        break;
      case ControlKind::Destination:
      case ControlKind::AppDestination:
        EXPECT_NE(qobject_cast<DestinationBox*>(w), nullptr);
        break;
      case ControlKind::Script:
        EXPECT_NE(qobject_cast<QPlainTextEdit*>(w), nullptr);
        break;
      case ControlKind::NameList:
        EXPECT_NE(qobject_cast<QListWidget*>(w), nullptr);
        break;
    }
  }
  for (const FormButton& button : desktop::settingsFormButtons()) {
    EXPECT_NE(qobject_cast<QAbstractButton*>(widget(button.control)), nullptr) << button.control;
  }
}

// Each widget, changed as the user changes it, changes its own key at once;
// loaded, it shows its key's value.
TEST_F(BindingTest, EveryWidgetTellsTheFormItsChangesAndShowsWhatIsLoaded) {
  for (const FormField& field : desktop::settingsFormFields()) {
    const SettingKey* key = desktop::settingKeyOf(field);
    if (!key) continue;
    SCOPED_TRACE(std::string(field.control));
    QWidget* w = widget(field.control);
    SettingsStore& s = core.store;
    switch (field.kind) {
      case ControlKind::Text:
      case ControlKind::Password: {
        const std::string typed = field.control == "Edit4" ? "17" : "値 " + std::string(field.control);
        qobject_cast<QLineEdit*>(w)->setText(QString::fromStdString(typed));
        EXPECT_EQ(key->text(s), toSjis(typed));
        key->text(s) = toSjis("読 " + typed);
        dialog.loadFromStore();
        EXPECT_EQ(qobject_cast<QLineEdit*>(w)->text().toStdString(), "読 " + typed);
        break;
      }
      case ControlKind::Number: {
        auto* spin = qobject_cast<QSpinBox*>(w);
        spin->setValue(key->max);
        EXPECT_EQ(key->number(s), key->max);
        key->number(s) = key->min;
        dialog.loadFromStore();
        EXPECT_EQ(spin->value(), key->min);
        break;
      }
      case ControlKind::Check: {
        auto* box = qobject_cast<QCheckBox*>(w);
        const bool before = key->flag(s);
        box->click();
        EXPECT_EQ(key->flag(s), !before);
        key->flag(s) = before;
        dialog.loadFromStore();
        EXPECT_EQ(box->isChecked(), before);
        break;
      }
      case ControlKind::Destination: {
        auto* box = qobject_cast<DestinationBox*>(w);
        box->setCurrentIndex(9);  // chosen from the list
        EXPECT_EQ(key->number(s), 9);
        box->setEditText(QStringLiteral("#12 provider12"));  // typed
        EXPECT_EQ(key->number(s), 12);
        key->number(s) = 3;
        dialog.loadFromStore();
        EXPECT_EQ(box->currentIndex(), 3);
        EXPECT_EQ(box->count(), 16) << "typing never adds an entry";
        break;
      }
      default:
        break;
    }
  }
  auto* script = find<QPlainTextEdit>("Script");
  script->setPlainText(QStringLiteral("23:00 co 1\n7:00 dis a"));
  EXPECT_EQ(core.store.script, (std::vector<std::string>{"23:00 co 1", "7:00 dis a"}));
  core.store.nameList = {toSjis("0312341234:事務所")};
  dialog.loadFromStore();
  ASSERT_EQ(find<QListWidget>("ListBox1")->count(), 1);
  EXPECT_EQ(find<QListWidget>("ListBox1")->item(0)->text(), QStringLiteral("0312341234:事務所"));
}

// The buttons reach the form: play, browse, the caller-name editor and OK.
TEST_F(BindingTest, EveryButtonReachesTheForm) {
  dialog.openDialog();
  find<QLineEdit>("Edit6")->setText(QStringLiteral("wav\\接続.wav"));
  find<QAbstractButton>("SpeedButton1")->click();
  EXPECT_EQ(played, std::vector<std::string>{toSjis("wav\\接続.wav")});

  QTest::mouseClick(find<QLineEdit>("Edit6"), Qt::LeftButton);
  EXPECT_EQ(dialog.browseTarget(), find<QLineEdit>("Edit6")) << "a click makes the target";
  nextFile = QStringLiteral("/home/user/鳴る.wav");
  for (const char* browse : {"SoundBrowse", "AppBrowse"}) find<QAbstractButton>(browse)->click();
  EXPECT_EQ(pickerCalls, 2);
  EXPECT_EQ(core.store.sound.s1, toSjis("/home/user/鳴る.wav"));

  find<QLineEdit>("Edit22")->setText(QStringLiteral(" 0312341234 "));
  find<QLineEdit>("Edit23")->setText(QStringLiteral("事務所"));
  find<QAbstractButton>("Button4")->click();
  EXPECT_EQ(find<QLineEdit>("Edit22")->text(), QStringLiteral("0312341234")) << "the trimmed text goes back";
  ASSERT_EQ(find<QListWidget>("ListBox1")->count(), 1);
  find<QListWidget>("ListBox1")->setCurrentRow(0);
  find<QAbstractButton>("Button5")->click();
  EXPECT_EQ(find<QListWidget>("ListBox1")->count(), 0);
  EXPECT_TRUE(core.store.nameList.empty());

  find<QAbstractButton>("OK")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(core.last(), "ConfigClosed");
}

TEST_F(BindingTest, TheDependentStatesShowInTheWidgetsAndTheMainWindowHearsOfThem) {
  QSignalSpy monitoring(&dialog, &SettingsDialog::monitoringOffChanged);
  find<QCheckBox>("CheckBox11")->setChecked(true);
  EXPECT_FALSE(find<QLineEdit>("Edit4")->isEnabled());
  ASSERT_FALSE(monitoring.isEmpty());
  EXPECT_TRUE(monitoring.last().at(0).toBool());
  find<QCheckBox>("CheckBox11")->setChecked(false);
  EXPECT_TRUE(find<QLineEdit>("Edit4")->isEnabled());
  EXPECT_FALSE(find<QPlainTextEdit>("Script")->isEnabled());
  find<QCheckBox>("CheckBox18")->setChecked(true);
  EXPECT_TRUE(find<QPlainTextEdit>("Script")->isEnabled());
}

TEST_F(BindingTest, TheDestinationBoxesShowTheirEntriesInTheFixedPitchFaceFromTheStart) {
  core.store.tarvik.DEFAULT = 3;
  dialog.loadFromStore();
  QStringList entries;
  for (int i = 0; i < 16; ++i) entries << QStringLiteral("#%1 a long provider name %1").arg(i);
  dialog.setDestinationList(entries);
  for (const char* name : {"ComboBox1", "ComboBox2", "RedialBox", "ComboBox3"}) {
    auto* box = find<DestinationBox>(name);
    EXPECT_EQ(box->count(), 16) << name;
    EXPECT_TRUE(box->font().fixedPitch()) << name;
    EXPECT_EQ(box->lineEdit()->cursorPosition(), 0) << name << ": a long entry shows its start";
  }
  EXPECT_EQ(find<DestinationBox>("ComboBox1")->currentText(), entries.at(3));
}

// The form's messages are boxes over the dialog, with one OK button.
TEST_F(BindingTest, MessagesAreBoxesOverTheDialog) {
  dialog.show();
  find<QLineEdit>("Edit22")->setText(QStringLiteral("03-1234"));
  find<QLineEdit>("Edit23")->setText(QStringLiteral("Office"));
  find<QAbstractButton>("Button4")->click();
  QMessageBox* box = dialog.findChild<QMessageBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text(), QStringLiteral("数字のみ入力して下さい"));
  ASSERT_EQ(box->buttons().size(), 1);
  EXPECT_EQ(box->buttons().first()->text(), QStringLiteral("OK"));
}

}  // namespace
}  // namespace tarvik

// Every control of the settings dialog holds its setting live: the keys of
// Tarvik.ini that the dialog saves are taken from the settings table, and
// each must be shown by one control of its own, loaded into it, written to
// the store at once when the control changes and saved back from what the
// control shows. A key added to the table without a control, a control
// bound to the wrong key, or one that loads or saves nothing fails here.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <map>
#include <string_view>

#include "qt/dialogs/destinationbox.h"
#include "engine/settings/settingskeys.h"
#include "settingsfixture.h"

namespace tarvik {
namespace {

bool savedByTheDialog(const SettingKey& key) {
  return key.writer == KeyWriter::kDialogFirst || key.writer == KeyWriter::kDialog ||
         key.writer == KeyWriter::kDialogAdded;
}

// Keys the dialog save writes without showing them: the router's kanji
// command is set by hand, and the save passes it through.
bool shownByTheDialog(const SettingKey& key) { return !(key.section == "KANJI" && key.key == "CODE"); }

std::string keyName(const SettingKey& key) { return std::string(key.section) + "/" + std::string(key.key); }

const SettingKey& keyOf(std::string_view section, std::string_view name) {
  for (const SettingKey& key : settingKeys()) {
    if (key.section == section && key.key == name) return key;
  }
  ADD_FAILURE() << "no key " << section << "/" << name;
  static const SettingKey none{"", "", KeyType::kBoolean, KeyWriter::kNone};
  return none;
}

bool& flag(SettingsStore& store, std::string_view section, std::string_view name) {
  static bool unknown = false;
  const SettingKey& key = keyOf(section, name);
  return key.flag ? key.flag(store) : unknown;
}

// What the user reads beside each check box: the key it switches.
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
    {"NOTIFY/INCOMING", QStringLiteral("着信 (名前と電話番号)")},
    {"NOTIFY/CONNECTED", QStringLiteral("接続 (接続先とIPアドレス)")},
    {"NOTIFY/DISCONNECTED", QStringLiteral("切断 (接続時間)")},
    {"NOTIFY/FAILED", QStringLiteral("接続失敗・話中")},
    {"NOTIFY/ROUTER", QStringLiteral("ルーターの応答が途絶えたとき・戻ったとき")},
};

// Gives the key a value that is not its default and that no other key
// holds: texts name their key (in Japanese, to cross the Shift-JIS
// boundary), flags are turned over, destinations point at #9.
void setDistinctive(const SettingKey& key, SettingsStore& store) {
  switch (key.type) {
    case KeyType::kString:
      // The poll interval must stay a valid one for the save to go through.
      key.text(store) = key.section == "OPTION" && key.key == "TIME" ? "17" : toSjis("値 " + keyName(key));
      break;
    case KeyType::kPassword:
      key.text(store) = toSjis("秘密 " + keyName(key));
      break;
    case KeyType::kInteger:
      key.number(store) = key.number(store) == 9 ? 10 : 9;
      break;
    case KeyType::kBoolean:
      key.flag(store) = !key.flag(store);
      break;
  }
}

struct BindingTest : test::SettingsFixture, ::testing::Test {
  BindingTest() {
    QStringList entries;
    for (int i = 0; i < DestinationBox::kEntries; ++i) entries << QStringLiteral("#%1 provider%1").arg(i);
    dialog.setDestinationList(entries);
  }

  // The text fields of their own (not the edit part of a box).
  std::vector<QLineEdit*> ownLineEdits() {
    std::vector<QLineEdit*> out;
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
      QWidget* parent = edit->parentWidget();
      if (!qobject_cast<QComboBox*>(parent) && !qobject_cast<QAbstractSpinBox*>(parent)) out.push_back(edit);
    }
    return out;
  }

  // Every control that holds a value, and what it shows.
  std::map<QWidget*, QString> shown() {
    std::map<QWidget*, QString> out;
    for (QLineEdit* edit : ownLineEdits()) out[edit] = edit->text();
    for (QSpinBox* box : dialog.findChildren<QSpinBox*>()) out[box] = QString::number(box->value());
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) out[box] = box->isChecked() ? "on" : "off";
    for (DestinationBox* box : dialog.findChildren<DestinationBox*>()) out[box] = box->currentText();
    return out;
  }

  // The controls whose shown value differs between a load of the defaults
  // and a load of `store`.
  std::vector<QWidget*> controlsChangedBy(const SettingsStore& store) {
    core.store = SettingsStore();
    dialog.loadFromStore();
    const auto before = shown();
    core.store = store;
    dialog.loadFromStore();
    std::vector<QWidget*> changed;
    for (const auto& [control, value] : shown()) {
      if (before.at(control) != value) changed.push_back(control);
    }
    return changed;
  }

  // The user enters again what every control shows, as after the engine
  // forgot its settings: the store then holds only what the controls hold.
  void reenterEveryControl() {
    for (QSpinBox* box : dialog.findChildren<QSpinBox*>()) {
      const int value = box->value();
      box->setValue(value == box->minimum() ? box->maximum() : box->minimum());
      box->setValue(value);
    }
    for (QLineEdit* edit : ownLineEdits()) {
      const QString text = edit->text();
      edit->setText(text + QLatin1Char('x'));
      edit->setText(text);
    }
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
      box->toggle();
      box->toggle();
    }
    for (DestinationBox* box : dialog.findChildren<DestinationBox*>()) {
      const QString text = box->currentText();
      box->setEditText(text + QLatin1Char('x'));
      box->setEditText(text);
    }
  }

  // The dialog's keys whose stored form differs between two stores.
  static std::vector<std::string> differingKeys(const SettingsStore& a, const SettingsStore& b) {
    std::vector<std::string> out;
    for (const SettingKey& key : settingKeys()) {
      if (savedByTheDialog(key) && storedSetting(key, a) != storedSetting(key, b)) out.push_back(keyName(key));
    }
    return out;
  }
};

TEST_F(BindingTest, EveryKeyTheDialogSavesIsShownByOneControlAndSavedBackFromIt) {
  int keys = 0;
  for (const SettingKey& key : settingKeys()) {
    if (!savedByTheDialog(key)) continue;
    ++keys;
    const std::string name = keyName(key);
    SCOPED_TRACE(name);
    SettingsStore wanted;
    setDistinctive(key, wanted);
    const std::vector<QWidget*> controls = controlsChangedBy(wanted);

    if (!shownByTheDialog(key)) {
      EXPECT_TRUE(controls.empty()) << "no control shows it";
      ASSERT_TRUE(dialog.closeDialog());
    } else {
      ASSERT_EQ(controls.size(), 1u) << "one control of its own shows the key";
      QWidget* control = controls.front();
      if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        EXPECT_EQ(edit->text().toStdString(), toUtf8(key.text(wanted)));
        EXPECT_EQ(edit->echoMode(), key.type == KeyType::kPassword ? QLineEdit::Password : QLineEdit::Normal);
      } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        EXPECT_EQ(box->isChecked(), key.flag(wanted));
        ASSERT_EQ(kCaptions.count(name), 1u) << "a check box without a caption here";
        EXPECT_EQ(box->text(), kCaptions.at(name));
      } else if (auto* destination = qobject_cast<DestinationBox*>(control)) {
        EXPECT_EQ(destination->currentIndex(), key.number(wanted));
      } else if (auto* number = qobject_cast<QSpinBox*>(control)) {
        EXPECT_EQ(number->value(), key.number(wanted));
        EXPECT_EQ(number->minimum(), key.min) << "the box keeps the key's range";
        EXPECT_EQ(number->maximum(), key.max);
      } else {
        ADD_FAILURE() << "an unexpected kind of control: " << control->metaObject()->className();
      }

      core.store = SettingsStore();
      reenterEveryControl();
      EXPECT_EQ(differingKeys(core.store, wanted), std::vector<std::string>())
          << "the store holds what the controls show, at once";
      ASSERT_TRUE(dialog.closeDialog());
    }
    SettingsStore saved;
    core.files().loadAll(saved);
    EXPECT_EQ(differingKeys(saved, wanted), std::vector<std::string>()) << "the save writes what was shown";
  }
  EXPECT_GE(keys, 40) << "the settings table lists the dialog's keys";
  for (const auto& [name, caption] : kCaptions) {
    const auto slash = name.find('/');
    const SettingKey& key = keyOf(name.substr(0, slash), name.substr(slash + 1));
    EXPECT_TRUE(savedByTheDialog(key)) << name;
  }
}

TEST_F(BindingTest, EachCheckBoxSwitchesOnlyItsOwnKey) {
  dialog.loadFromStore();
  for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
    SCOPED_TRACE(box->text().toStdString());
    const SettingsStore before = core.store;
    box->click();
    const std::vector<std::string> changed = differingKeys(before, core.store);
    if (box->isHidden()) {
      EXPECT_TRUE(changed.empty()) << "the keyring box saves its choice with the password";
    } else {
      ASSERT_EQ(changed.size(), 1u);
      EXPECT_EQ(kCaptions.at(changed.front()), box->text());
    }
    box->click();
    EXPECT_EQ(differingKeys(before, core.store), std::vector<std::string>());
  }
}

TEST_F(BindingTest, TheStartUpLoadFillsEveryControlAndItsDependentStates) {
  SettingsStore wanted;
  for (const SettingKey& key : settingKeys()) {
    if (savedByTheDialog(key)) setDistinctive(key, wanted);
  }
  flag(wanted, "OPTION", "CHECK11") = true;
  flag(wanted, "OPTION", "CHECK18") = false;
  wanted.script = {toSjis("23:00 co 1"), toSjis("; 夜")};
  wanted.nameList = {toSjis("0312341234:事務所")};
  core.store = wanted;
  QSignalSpy monitoring(&dialog, &SettingsDialog::monitoringOffChanged);

  dialog.loadFromStore();
  EXPECT_EQ(core.store.script, wanted.script);

  // Everything at once: what each control shows is its key's value, so
  // the store rebuilt from the controls is the one loaded.
  core.store = SettingsStore();
  reenterEveryControl();
  EXPECT_EQ(differingKeys(core.store, wanted), std::vector<std::string>{"KANJI/CODE"})
      << "every key but the one the dialog does not show";
  EXPECT_EQ(find<QPlainTextEdit>("Script")->toPlainText(), QStringLiteral("23:00 co 1\n; 夜"));
  ASSERT_EQ(find<QListWidget>("ListBox1")->count(), 1);
  EXPECT_EQ(find<QListWidget>("ListBox1")->item(0)->text(), QStringLiteral("0312341234:事務所"));
  EXPECT_FALSE(find<QLineEdit>("Edit4")->isEnabled()) << "監視しない greys the interval";
  EXPECT_FALSE(find<QPlainTextEdit>("Script")->isEnabled()) << "the script area needs SOHO-スクリプトを使用";
  ASSERT_FALSE(monitoring.isEmpty());
  EXPECT_TRUE(monitoring.last().at(0).toBool()) << "the main window's channel boxes follow";
}

TEST_F(BindingTest, LoadingKeepsBytesThatDoNotSurviveTheTripThroughUtf8) {
  core.store.sound.s1 = std::string("wav\\\x82", 5);  // a lone lead byte
  dialog.loadFromStore();
  EXPECT_EQ(core.store.sound.s1, std::string("wav\\\x82", 5));
}

TEST_F(BindingTest, MonitoringOffAndScriptOnFollowTheirCheckBoxes) {
  QSignalSpy monitoring(&dialog, &SettingsDialog::monitoringOffChanged);
  find<QCheckBox>("CheckBox11")->setChecked(true);
  EXPECT_FALSE(find<QLineEdit>("Edit4")->isEnabled());
  EXPECT_TRUE(monitoring.last().at(0).toBool());
  find<QCheckBox>("CheckBox11")->setChecked(false);
  EXPECT_TRUE(find<QLineEdit>("Edit4")->isEnabled());
  EXPECT_FALSE(monitoring.last().at(0).toBool());
  find<QCheckBox>("CheckBox18")->setChecked(true);
  EXPECT_TRUE(find<QPlainTextEdit>("Script")->isEnabled());
}

TEST_F(BindingTest, TheScriptAreaHoldsTheScriptLineByLine) {
  auto* script = find<QPlainTextEdit>("Script");
  const struct {
    QString text;
    std::vector<std::string> lines;
  } cases[] = {
      {QString(), {}},
      {QStringLiteral("7:00 dis a"), {"7:00 dis a"}},
      {QStringLiteral("23:00 co 1\n7:00 dis a\n"), {"23:00 co 1", "7:00 dis a"}},
      {QStringLiteral("a\n\nb"), {"a", "", "b"}},
  };
  for (const auto& c : cases) {
    script->setPlainText(c.text);
    EXPECT_EQ(core.store.script, c.lines) << c.text.toStdString();
  }
}

struct DestinationTest : test::SettingsFixture, ::testing::Test {
  QStringList entries() const {
    QStringList list;
    for (int i = 0; i < 16; ++i) list << QStringLiteral("#%1 provider%2").arg(i).arg(i);
    return list;
  }
};

TEST_F(DestinationTest, EachBoxShowsItsStoredEntryOnceTheListArrives) {
  core.store.tarvik.DEFAULT = 3;
  core.store.tarvik.AUTO = 7;
  core.store.tarvik.REDIAL = 15;
  core.store.appPageDestination = 0;
  dialog.loadFromStore();
  QStringList empty;
  for (int i = 0; i < 16; ++i) empty << QString();
  dialog.setDestinationList(empty);
  EXPECT_EQ(core.store.tarvik.DEFAULT, 3) << "sixteen empty entries change no setting";
  dialog.setDestinationList(entries());
  const struct {
    const char* box;
    int index;
  } rows[] = {{"ComboBox1", 3}, {"ComboBox2", 7}, {"RedialBox", 15}, {"ComboBox3", 0}};
  for (const auto& row : rows) {
    auto* box = find<DestinationBox>(row.box);
    ASSERT_NE(box, nullptr) << row.box;
    EXPECT_EQ(box->count(), 16);
    EXPECT_EQ(box->currentText(), entries().at(row.index)) << row.box;
    EXPECT_TRUE(box->font().fixedPitch()) << row.box;
    EXPECT_EQ(box->lineEdit()->cursorPosition(), 0) << "a long entry shows its start";
  }
  EXPECT_EQ(core.store.tarvik.DEFAULT, 3);
  EXPECT_EQ(core.store.tarvik.AUTO, 7);
  EXPECT_EQ(core.store.tarvik.REDIAL, 15);
}

TEST_F(DestinationTest, ChoosingOrTypingSetsTheIndexOfTheFirstEqualEntryOr16) {
  dialog.setDestinationList(entries());
  const struct {
    const char* box;
    int& (*field)(SettingsStore&);
  } boxes[] = {
      {"ComboBox1", [](SettingsStore& s) -> int& { return s.tarvik.DEFAULT; }},
      {"ComboBox2", [](SettingsStore& s) -> int& { return s.tarvik.AUTO; }},
      {"RedialBox", [](SettingsStore& s) -> int& { return s.tarvik.REDIAL; }},
  };
  for (const auto& b : boxes) {
    auto* box = find<DestinationBox>(b.box);
    box->setCurrentIndex(9);  // chosen from the list
    EXPECT_EQ(b.field(core.store), 9) << b.box;
    box->setEditText(QStringLiteral("#12 provider12"));  // typed, matching
    EXPECT_EQ(b.field(core.store), 12) << b.box;
    box->setEditText(QStringLiteral("#12 provider"));  // typed, matching none
    EXPECT_EQ(b.field(core.store), 16) << b.box;
    EXPECT_EQ(box->count(), 16) << "typing never adds an entry";
  }
}

}  // namespace
}  // namespace tarvik

// Every control of the settings dialog holds its setting live: a change of
// the control is a change of the store at once, and the start-up load puts
// every setting into its control.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include "dialogs/destinationbox.h"
#include "settingsfixture.h"

namespace tarvik {
namespace {

struct TextRow {
  const char* control;
  std::string& (*field)(SettingsStore&);
};

const TextRow kTextRows[] = {
    {"Edit5", [](SettingsStore& s) -> std::string& { return s.tarvik.SOHOIP; }},
    {"Edit14", [](SettingsStore& s) -> std::string& { return s.tarvik.PASS; }},
    {"Edit4", [](SettingsStore& s) -> std::string& { return s.option.TIME; }},
    {"Edit6", [](SettingsStore& s) -> std::string& { return s.sound.s1; }},
    {"Edit1", [](SettingsStore& s) -> std::string& { return s.sound.s2; }},
    {"Edit3", [](SettingsStore& s) -> std::string& { return s.sound.s3; }},
    {"Edit15", [](SettingsStore& s) -> std::string& { return s.sound.s5; }},
    {"Edit16", [](SettingsStore& s) -> std::string& { return s.sound.s6; }},
    {"Edit2", [](SettingsStore& s) -> std::string& { return s.sound.s7; }},
    {"Edit_RingSound", [](SettingsStore& s) -> std::string& { return s.sound.s8; }},
    {"Edit_NameSound", [](SettingsStore& s) -> std::string& { return s.sound.NAMESOUND; }},
    {"Edit12", [](SettingsStore& s) -> std::string& { return s.time.ON; }},
    {"Edit13", [](SettingsStore& s) -> std::string& { return s.time.OFF; }},
    {"Edit17", [](SettingsStore& s) -> std::string& { return s.time.WARNING; }},
    {"Edit21", [](SettingsStore& s) -> std::string& { return s.rd.count; }},
    {"Edit18", [](SettingsStore& s) -> std::string& { return s.option.LOG; }},
};

struct CheckRow {
  const char* control;
  const char* caption;
  bool& (*field)(SettingsStore&);
};

const CheckRow kCheckRows[] = {
    {"CheckBox11", "監視しない", [](SettingsStore& s) -> bool& { return s.option.CHECK11; }},
    {"CheckBox1", "起動時最小化", [](SettingsStore& s) -> bool& { return s.option.SIZE; }},
    {"CheckBox4", "接続時最大化", [](SettingsStore& s) -> bool& { return s.option.CHECK4; }},
    {"CheckBox3", "次々ステータスを表示しない", [](SettingsStore& s) -> bool& { return s.option.NEXT; }},
    {"CheckBox5", "切断時最小化", [](SettingsStore& s) -> bool& { return s.option.CHECK5; }},
    {"CheckBox10", "タスクトレイにB1 B2状態表示", [](SettingsStore& s) -> bool& { return s.option.CHECK10; }},
    {"CheckBox15", "常駐終了時 回線切断", [](SettingsStore& s) -> bool& { return s.option.CHECK15; }},
    {"CheckBox2", "常に手前に表示(再起動後有効)",
     [](SettingsStore& s) -> bool& { return s.option.ONSCREEN; }},
    {"CheckBox13", "テレホーダイ中に起動した場合、自動接続",
     [](SettingsStore& s) -> bool& { return s.option.CHECK13; }},
    {"CheckBox18", "SOHO-スクリプトを使用", [](SettingsStore& s) -> bool& { return s.option.CHECK18; }},
    {"CheckBox6", "接続時間", [](SettingsStore& s) -> bool& { return s.option.CHECK6; }},
    {"CheckBox7", "IPアドレス", [](SettingsStore& s) -> bool& { return s.option.CHECK7; }},
    {"CheckBox8", "接続モード", [](SettingsStore& s) -> bool& { return s.option.CHECK8; }},
    {"CheckBox9", "電話番号", [](SettingsStore& s) -> bool& { return s.option.CHECK9; }},
    {"CheckBox14", "回線使用率", [](SettingsStore& s) -> bool& { return s.option.CHECK14; }},
    {"CheckBox19", "転送レート", [](SettingsStore& s) -> bool& { return s.option.CHECK19; }},
    {"CheckBox12", "起動時にMN128-SOHOの内蔵時計を合わせる",
     [](SettingsStore& s) -> bool& { return s.option.CHECK12; }},
    {"CheckBox16", "接続時 ID,PASSWORDを別入力", [](SettingsStore& s) -> bool& { return s.option.CHECK16; }},
    {"CheckBox17", "接続ログをファイルへ保存", [](SettingsStore& s) -> bool& { return s.option.CHECK17; }},
    {"CheckNotifyIncoming", "着信 (名前と電話番号)", [](SettingsStore& s) -> bool& { return s.notify.INCOMING; }},
    {"CheckNotifyConnected", "接続 (接続先とIPアドレス)",
     [](SettingsStore& s) -> bool& { return s.notify.CONNECTED; }},
    {"CheckNotifyDisconnected", "切断 (接続時間)", [](SettingsStore& s) -> bool& { return s.notify.DISCONNECTED; }},
    {"CheckNotifyFailed", "接続失敗・話中", [](SettingsStore& s) -> bool& { return s.notify.FAILED; }},
    {"CheckNotifyRouter", "ルーターの応答が途絶えたとき・戻ったとき",
     [](SettingsStore& s) -> bool& { return s.notify.ROUTER; }},
};

struct BindingTest : test::SettingsFixture, ::testing::Test {};

TEST_F(BindingTest, EveryTextFieldWritesItsSettingAsShiftJisAtOnce) {
  for (const TextRow& row : kTextRows) {
    auto* edit = find<QLineEdit>(row.control);
    ASSERT_NE(edit, nullptr) << row.control;
    const QString value = QStringLiteral("wav\\接続 %1").arg(QString::fromLatin1(row.control));
    edit->setText(value);
    EXPECT_EQ(row.field(core.store), toSjis(value.toStdString())) << row.control;
  }
  EXPECT_EQ(find<QLineEdit>("Edit14")->echoMode(), QLineEdit::Password);
}

TEST_F(BindingTest, EveryCheckBoxHasItsCaptionAndWritesItsSettingAtOnce) {
  for (const CheckRow& row : kCheckRows) {
    auto* box = find<QCheckBox>(row.control);
    ASSERT_NE(box, nullptr) << row.control;
    EXPECT_EQ(box->text(), QString::fromUtf8(row.caption));
    const bool before = row.field(core.store);
    box->click();
    EXPECT_EQ(row.field(core.store), !before) << row.control;
    box->click();
    EXPECT_EQ(row.field(core.store), before) << row.control;
  }
}

TEST_F(BindingTest, TheStartUpLoadFillsEveryControlAndItsDependentStates) {
  for (const TextRow& row : kTextRows) row.field(core.store) = toSjis("値 " + std::string(row.control));
  for (const CheckRow& row : kCheckRows) row.field(core.store) = !row.field(core.store);
  core.store.option.CHECK11 = true;
  core.store.option.CHECK18 = false;
  core.store.script = {toSjis("23:00 co 1"), toSjis("; 夜")};
  core.store.nameList = {toSjis("0312341234:事務所")};
  SettingsStore expected = core.store;
  QSignalSpy monitoring(&dialog, &SettingsDialog::monitoringOffChanged);

  dialog.loadFromStore();

  for (const TextRow& row : kTextRows) {
    EXPECT_EQ(find<QLineEdit>(row.control)->text().toStdString(), "値 " + std::string(row.control));
  }
  for (const CheckRow& row : kCheckRows) {
    EXPECT_EQ(find<QCheckBox>(row.control)->isChecked(), row.field(expected));
  }
  EXPECT_EQ(find<QPlainTextEdit>("Script")->toPlainText(), QStringLiteral("23:00 co 1\n; 夜"));
  ASSERT_EQ(find<QListWidget>("ListBox1")->count(), 1);
  EXPECT_EQ(find<QListWidget>("ListBox1")->item(0)->text(), QStringLiteral("0312341234:事務所"));
  EXPECT_EQ(core.store.script, expected.script);
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

#include "qt/dialogs/settingspages.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>

#include "desktop/settingsformtable.h"
#include "qt/dialogs/destinationbox.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {
namespace {

QLabel* label(QWidget* page, const char* text, int x, int y) {
  auto* l = new QLabel(QString::fromUtf8(text), page);
  l->move(x, y);
  l->adjustSize();
  return l;
}

QLineEdit* edit(QWidget* page, const char* name, int x, int y, int w) {
  auto* e = new QLineEdit(page);
  e->setObjectName(QString::fromLatin1(name));
  e->setGeometry(x, y, w, 21);
  return e;
}

QCheckBox* check(QWidget* page, const char* name, const char* text, int x, int y) {
  auto* c = new QCheckBox(QString::fromUtf8(text), page);
  c->setObjectName(QString::fromLatin1(name));
  c->move(x, y);
  c->adjustSize();
  return c;
}

DestinationBox* destinationBox(QWidget* page, const char* name, int x, int y, int w) {
  auto* box = new DestinationBox(page);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(x, y, w, 22);
  return box;
}

QPushButton* button(QWidget* page, const char* name, const char* text, int x, int y, int w) {
  auto* b = new QPushButton(QString::fromUtf8(text), page);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(x, y, w, 24);
  return b;
}

QWidget* addPage(QTabWidget* tabs, const desktop::FormPage& row) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(row.name.data(), static_cast<qsizetype>(row.name.size())));
  tabs->addTab(page, QString::fromUtf8(row.caption.data(), static_cast<qsizetype>(row.caption.size())));
  return page;
}

void buildBasic(QWidget* page, SettingsPages& out) {
  label(page, "MN128-SOHO IP Address", 12, 13);
  edit(page, "Edit5", 170, 10, 150);
  label(page, "MN128-SOHO Passowrd", 12, 40);
  edit(page, "Edit14", 170, 37, 120)->setEchoMode(QLineEdit::Password);
  page->findChild<QLineEdit*>(QStringLiteral("Edit14"))
      ->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
  // Beside the password: keep it in the desktop's keyring, not in the file.
  const std::string keyringCaption(
      desktop::platformCaption("CheckBoxKeyring", desktop::Desktop::Freedesktop));
  check(page, "CheckBoxKeyring", keyringCaption.c_str(), 296, 39)
      ->setToolTip(QStringLiteral("パスワードをキーリングに保存 (Tarvik.iniには書きません)"));
  label(page, "ﾃﾞﾌｫﾙﾄ接続先", 12, 67);
  out.defaultBox = destinationBox(page, "ComboBox1", 170, 63, 236);
  label(page, "監視間隔(秒)", 12, 95);
  edit(page, "Edit4", 170, 92, 43);
  check(page, "CheckBox11", "監視しない", 226, 93);
  check(page, "CheckBox1", "起動時最小化", 12, 130);
  check(page, "CheckBox4", "接続時最大化", 12, 154);
  check(page, "CheckBox3", "次々ステータスを表示しない", 12, 178);
  check(page, "CheckBox5", "切断時最小化", 12, 202);
  check(page, "CheckBox10", "タスクトレイにB1 B2状態表示", 200, 130);
  check(page, "CheckBox15", "常駐終了時 回線切断", 200, 154);
  check(page, "CheckBox2", "常に手前に表示(再起動後有効)", 200, 178);
}

struct SoundRow {
  const char* caption;
  const char* edit;
  const char* play;
};

constexpr SoundRow kSoundRows[] = {
    {"接続開始", "Edit6", "SpeedButton1"},
    {"接続完了", "Edit1", "SpeedButton2"},
    {"切断", "Edit3", "SpeedButton3"},
    {"話中(BUSY)", "Edit15", "SpeedButton5"},
    {"ホーダイ開始", "Edit16", "SpeedButton7"},
    {"警告", "Edit2", "SpeedButton4"},
    {"アナログ着信", "Edit_RingSound", "SpeedButton8"},
};

void buildSound(QWidget* page, SettingsPages& out) {
  constexpr int kRowStep = 23, kTop = 6, kFieldX = 100, kFieldW = 265;
  const QIcon playIcon = page->style()->standardIcon(QStyle::SP_MediaPlay);
  for (int i = 0; i < 7; ++i) {
    const SoundRow& row = kSoundRows[i];
    const int y = kTop + i * kRowStep;
    // The browse button sits below the rows but comes before the ring-sound
    // field in the Tab order.
    if (i == 6) {
      out.soundBrowse = button(page, "SoundBrowse", "参照", kFieldX + kFieldW - 75, kTop + 7 * kRowStep, 75);
    }
    label(page, row.caption, 12, y + 3);
    edit(page, row.edit, kFieldX, y, kFieldW);
    auto* play = new QToolButton(page);
    play->setObjectName(QString::fromLatin1(row.play));
    play->setIcon(playIcon);
    play->setToolTip(QStringLiteral("再生"));
    play->setFocusPolicy(Qt::NoFocus);
    play->setGeometry(kFieldX + kFieldW + 4, y, 23, 21);
  }
  const int folderY = kTop + 7 * kRowStep + 28;
  label(page, "ﾈｰﾑｻｳﾝﾄﾞ用ﾌｫﾙﾀﾞ", 12, folderY + 3);
  edit(page, "Edit_NameSound", kFieldX + 20, folderY, kFieldW - 20);
  label(page, "[ﾈｰﾑｻｳﾝﾄﾞ]とは着信電話番号のWAVEﾌｧｲﾙがあった場合に再生する機能", 12, folderY + 25);
  label(page, "(例) 03-1234-1234 の場合は 0312341234.WAVを上のﾌｫﾙﾀﾞへ配置", 12, folderY + 41);
}

void buildApps(QWidget* page, SettingsPages& out) {
  label(page, "適用する接続先", 10, 9);
  out.appBox = destinationBox(page, "ComboBox3", 110, 5, 236);
  label(page, "接続完了時に実行するアプリケーション(切断時終了)", 10, 33);
  const char* names[7] = {"Edit7", "Edit8", "Edit9", "Edit10", "Edit11", "Edit19", "Edit20"};
  int y = 50;
  for (int i = 0; i < 7; ++i) {
    if (i == 3) {
      label(page, "接続時実行(切断時もそのまま)", 10, y + 2);
      y += 19;
    }
    out.apps[i] = edit(page, names[i], 10, y, 401);
    y += 22;
  }
  out.appBrowse = button(page, "AppBrowse", "参照", 336, y + 2, 75);
}

void buildTimed(QWidget* page, SettingsPages& out) {
  label(page, "自動接続時間", 12, 11);
  edit(page, "Edit12", 110, 8, 50);
  label(page, "自動切断時間", 12, 36);
  edit(page, "Edit13", 110, 33, 50);
  label(page, "警告時間", 12, 61);
  edit(page, "Edit17", 110, 58, 50);
  label(page, "自動接続先", 184, 11);
  out.autoBox = destinationBox(page, "ComboBox2", 184, 30, 228);
  check(page, "CheckBox13", "テレホーダイ中に起動した場合、自動接続", 12, 86);
  check(page, "CheckBox18", "SOHO-スクリプトを使用", 12, 108);
  out.script = new QPlainTextEdit(page);
  out.script->setObjectName(QStringLiteral("Script"));
  out.script->setGeometry(2, 134, 417, 113);
  out.script->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  out.script->setLineWrapMode(QPlainTextEdit::NoWrap);
  out.script->setTabChangesFocus(true);
}

void buildAdvanced(QWidget* page, SettingsPages& out) {
  auto* group = new QGroupBox(QStringLiteral("表示ステータス"), page);
  group->setObjectName(QStringLiteral("GroupBox1"));
  group->setGeometry(8, 4, 405, 70);
  check(group, "CheckBox6", "接続時間", 12, 20);
  check(group, "CheckBox7", "IPアドレス", 142, 20);
  check(group, "CheckBox8", "接続モード", 272, 20);
  check(group, "CheckBox9", "電話番号", 12, 44);
  check(group, "CheckBox14", "回線使用率", 142, 44);
  check(group, "CheckBox19", "転送レート", 272, 44);
  label(page, "リダイアル回数", 12, 87);
  edit(page, "Edit21", 110, 84, 41);
  label(page, "繋がらない場合はこちらと交互にダイアル", 12, 112);
  out.redialBox = destinationBox(page, "RedialBox", 12, 130, 260);
  check(page, "CheckBox12", "起動時にMN128-SOHOの内蔵時計を合わせる", 12, 160);
  check(page, "CheckBox16", "接続時 ID,PASSWORDを別入力", 12, 182);
  check(page, "CheckBox17", "接続ログをファイルへ保存", 12, 204);
  edit(page, "Edit18", 30, 226, 240);
}

void buildNames(QWidget* page, SettingsPages& out) {
  label(page, "電話番号", 12, 12);
  out.number = edit(page, "Edit22", 70, 9, 150);
  label(page, "名称", 12, 39);
  out.name = edit(page, "Edit23", 70, 36, 220);
  out.addName = button(page, "Button4", "追加", 310, 8, 75);
  out.deleteName = button(page, "Button5", "削除", 310, 35, 75);
  auto* panel = new QFrame(page);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setGeometry(8, 66, 405, 180);
  out.nameList = new QListWidget(panel);
  out.nameList->setObjectName(QStringLiteral("ListBox1"));
  out.nameList->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(out.nameList);
}

// Desktop notifications, one switch per kind ([NOTIFY]).
void buildNotify(QWidget* page) {
  label(page, "次のときにデスクトップ通知を表示する", 12, 12);
  check(page, "CheckNotifyIncoming", "着信 (名前と電話番号)", 24, 36);
  check(page, "CheckNotifyConnected", "接続 (接続先とIPアドレス)", 24, 60);
  check(page, "CheckNotifyDisconnected", "切断 (接続時間)", 24, 84);
  check(page, "CheckNotifyFailed", "接続失敗・話中", 24, 108);
  check(page, "CheckNotifyRouter", "ルーターの応答が途絶えたとき・戻ったとき", 24, 132);
}

QSpinBox* spin(QWidget* page, const char* name, int x, int y, int w, int min, int max) {
  auto* box = new QSpinBox(page);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(min, max);
  box->setGeometry(x, y, w, 22);
  return box;
}

// What calls cost ([TARIFF]), for the usage window's estimate.
void buildTariff(QWidget* page) {
  label(page, "利用状況の料金概算に使う通話料金", 12, 12);
  label(page, "課金単位(秒)", 24, 39);
  spin(page, "SpinTariffUnit", 170, 36, 80, kMinTariffUnit, kMaxTariffUnit);
  label(page, "1単位の料金(円)", 24, 66);
  spin(page, "SpinTariffYen", 170, 63, 80, kMinTariffYen, kMaxTariffYen);
  label(page, "定額の時間帯", 24, 93);
  spin(page, "SpinFlatFrom", 170, 90, 48, kMinTariffHour, kMaxTariffHour);
  label(page, "時から", 222, 93);
  spin(page, "SpinFlatTo", 266, 90, 48, kMinTariffHour, kMaxTariffHour);
  label(page, "時まで", 318, 93);
  label(page, "定額の接続先番号", 24, 120);
  edit(page, "EditFlatDest", 170, 117, 100);
  label(page, "(カンマ区切り 例: 0,3)", 276, 120);
  label(page, "定額の時間帯に定額の接続先へつないだ時間は無料、", 24, 150);
  label(page, "それ以外は課金単位ごとに料金がかかるものとして数えます。", 24, 168);
}

}  // namespace

SettingsPages buildSettingsPages(QTabWidget* tabs) {
  SettingsPages out;
  // The pages in the form's order, with its names and captions.
  const auto pages = desktop::settingsFormPages();
  buildBasic(addPage(tabs, pages[0]), out);
  buildSound(addPage(tabs, pages[1]), out);
  buildApps(addPage(tabs, pages[2]), out);
  buildTimed(addPage(tabs, pages[3]), out);
  buildAdvanced(addPage(tabs, pages[4]), out);
  buildNames(addPage(tabs, pages[5]), out);
  buildNotify(addPage(tabs, pages[6]));
  buildTariff(addPage(tabs, pages[7]));
  return out;
}

}  // namespace tarvik

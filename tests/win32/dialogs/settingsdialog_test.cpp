// The settings dialog driven through its controls as a user drives it:
// texts set into the fields, buttons and OK pressed, keys through the
// message loop's hook. What reaches the engine is recorded, the files are
// the real ones, messages are captured instead of shown.
#include <gtest/gtest.h>

#include <algorithm>

#include "dialogfixture.h"
#include "win32/dialogs/dialogids.h"
#include "engine/settings/settingskeys.h"

namespace tarvik::win32 {
namespace {

using testing::click;
using testing::drainMessages;
using testing::pressKey;
using testing::setText;
using testing::textOf;

enum { kBasic = 0, kSound, kApps, kTimed, kAdvanced, kNames, kNotify, kTariff };

struct SettingsDialogTest : testing::DialogFixture, ::testing::Test {
  std::vector<std::string> played;
  std::optional<std::wstring> nextFile;  // what the file-open dialog answers
  int pickerCalls = 0;
  std::vector<bool> monitoringOff;
  std::vector<bool> stayOnTop;
  std::vector<std::string> hints;
  std::unique_ptr<SettingsDialog> dialog = make();

  std::unique_ptr<SettingsDialog> make() {
    SettingsDialog::Hooks hooks;
    hooks.play = [this](const std::string& path) { played.push_back(path); };
    hooks.pickFile = [this](HWND) {
      ++pickerCalls;
      return nextFile;
    };
    hooks.message = recordMessages();
    hooks.monitoringOffChanged = [this](bool off) { monitoringOff.push_back(off); };
    hooks.stayOnTopChanged = [this](bool onTop) { stayOnTop.push_back(onTop); };
    hooks.connectHintChanged = [this](const std::string& text) { hints.push_back(text); };
    return std::make_unique<SettingsDialog>(core, nullptr, hooks);
  }

  HWND at(int id) const {
    HWND control = dialog->control(id);
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
  }
  void type(int id, const std::string& text) { setText(at(id), text); }
  void pressOk() { click(GetDlgItem(dialog->hwnd(), IDOK)); }
  void openOn(int tab) {
    dialog->openDialog();
    dialog->showTab(tab);
  }
  bool checked(int id) const { return SendMessageW(dialog->control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void toggle(int id) {
    HWND box = at(id);
    SendMessageW(box, BM_SETCHECK, checked(id) ? BST_UNCHECKED : BST_CHECKED, 0);
    click(box);
  }
  std::vector<std::string> listed() const {
    HWND list = dialog->control(IDC_ListBox1);
    std::vector<std::string> out;
    const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      std::wstring item(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      item.resize(
          static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
      out.push_back(narrow(item));
    }
    return out;
  }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
  }
  int configCalls() const {
    return static_cast<int>(std::count(core.calls.begin(), core.calls.end(), "Config"));
  }
};

// The destination boxes' entries, as the router's list gives them.
std::vector<std::string> providerEntries() {
  std::vector<std::string> entries;
  for (int i = 0; i < 16; ++i) entries.push_back("#" + std::to_string(i) + " Provider" + std::to_string(i));
  return entries;
}

// What a user does in a destination box: select its text and type over it,
// key by key.
void typeInto(HWND box, const std::string& text) {
  HWND edit = GetWindow(box, GW_CHILD);
  SetFocus(edit);
  SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  SendMessageW(edit, WM_CHAR, VK_BACK, 0);
  for (wchar_t c : widen(text)) SendMessageW(edit, WM_CHAR, c, 0);
  drainMessages();
}

// What a user does in a destination box's list: pick an entry.
void choose(HWND box, int index) {
  SendMessageW(box, CB_SETCURSEL, index, 0);
  SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
}

TEST_F(SettingsDialogTest, TitleTabsAndThePageShownAtEachOpening) {
  EXPECT_EQ(textOf(dialog->hwnd()), "Tarvik - 設定");
  HWND tabs = at(IDC_PageControl1);
  const char* titles[] = {"基本設定",   "ｻｳﾝﾄﾞ設定",   "同時起動ｱﾌﾟﾘ", "時限処理",
                          "高度な設定", "ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ", "通知",         "料金"};
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 8);
  RECT tabsBox{}, last{};
  GetClientRect(tabs, &tabsBox);
  for (int i = 0; i < 8; ++i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(narrow(text), titles[i]);
    SendMessageW(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(last.top, 0 + last.top) << "one row";
  }
  EXPECT_LE(last.right, tabsBox.right) << "all tabs fit in one row";
  EXPECT_EQ(SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0), 1);
  EXPECT_FALSE(dialog->isVisible()) << "created hidden";

  dialog->openDialog();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->currentTab(), kSound) << "the first opening shows ｻｳﾝﾄﾞ設定";
  EXPECT_TRUE(IsWindowVisible(GetParent(at(IDC_Edit6))));
  EXPECT_FALSE(IsWindowVisible(GetParent(at(IDC_Edit5))));
  dialog->showTab(kAdvanced);
  ASSERT_TRUE(dialog->closeDialog());
  dialog->openDialog();
  EXPECT_EQ(dialog->currentTab(), kAdvanced) << "later openings show the page last shown";
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), kAdvanced);
}

// Every key the dialog saves is loaded into its control, written to the
// store at the control's change and saved to Tarvik.ini at the close.
TEST_F(SettingsDialogTest, EveryTextFieldIsLoadedChangedAtOnceAndSaved) {
  struct Row {
    int id;
    std::string& (*field)(SettingsStore&);
    const char* key;  // as written in Tarvik.ini
  };
  const Row rows[] = {
      {IDC_Edit5, [](SettingsStore& s) -> std::string& { return s.tarvik.SOHOIP; }, "SOHOIP="},
      {IDC_Edit4, [](SettingsStore& s) -> std::string& { return s.option.TIME; }, "TIME="},
      {IDC_Edit6, [](SettingsStore& s) -> std::string& { return s.sound.s1; }, "1="},
      {IDC_Edit1, [](SettingsStore& s) -> std::string& { return s.sound.s2; }, "2="},
      {IDC_Edit3, [](SettingsStore& s) -> std::string& { return s.sound.s3; }, "3="},
      {IDC_Edit15, [](SettingsStore& s) -> std::string& { return s.sound.s5; }, "5="},
      {IDC_Edit16, [](SettingsStore& s) -> std::string& { return s.sound.s6; }, "6="},
      {IDC_Edit2, [](SettingsStore& s) -> std::string& { return s.sound.s7; }, "7="},
      {IDC_Edit_RingSound, [](SettingsStore& s) -> std::string& { return s.sound.s8; }, "8="},
      {IDC_Edit_NameSound, [](SettingsStore& s) -> std::string& { return s.sound.NAMESOUND; }, "NAMESOUND="},
      {IDC_Edit12, [](SettingsStore& s) -> std::string& { return s.time.ON; }, "ON="},
      {IDC_Edit13, [](SettingsStore& s) -> std::string& { return s.time.OFF; }, "OFF="},
      {IDC_Edit17, [](SettingsStore& s) -> std::string& { return s.time.WARNING; }, "WARNING="},
      {IDC_Edit21, [](SettingsStore& s) -> std::string& { return s.rd.count; }, "0="},
      {IDC_Edit18, [](SettingsStore& s) -> std::string& { return s.option.LOG; }, "LOG="},
  };
  int n = 10;
  for (const Row& row : rows) row.field(core.store) = toSjis("読" + std::to_string(n++));
  core.store.option.TIME = "17";
  core.store.rd.count = "3";
  dialog->loadFromStore();
  for (const Row& row : rows) EXPECT_EQ(textOf(at(row.id)), toUtf8(row.field(core.store))) << row.key;

  dialog->openDialog();
  n = 40;
  for (const Row& row : rows) {
    const std::string typed = row.id == IDC_Edit4    ? "9"
                              : row.id == IDC_Edit21 ? "4"
                                                     : "新" + std::to_string(n++);
    type(row.id, typed);
    EXPECT_EQ(row.field(core.store), toSjis(typed)) << row.key << " is in force at once";
  }
  pressOk();
  ASSERT_FALSE(dialog->isVisible());
  const std::string ini = iniText();
  for (const Row& row : rows) {
    EXPECT_NE(ini.find(row.key + toUtf8(row.field(core.store))), std::string::npos) << row.key << "\n" << ini;
  }
}

TEST_F(SettingsDialogTest, EveryCheckBoxIsLoadedAndSwitchesOnlyItsOwnSetting) {
  const std::pair<int, bool& (*)(SettingsStore&)> boxes[] = {
      {IDC_CheckBox11, [](SettingsStore& s) -> bool& { return s.option.monitoringOff; }},
      {IDC_CheckBox1, [](SettingsStore& s) -> bool& { return s.option.SIZE; }},
      {IDC_CheckBox4, [](SettingsStore& s) -> bool& { return s.option.restoreOnConnect; }},
      {IDC_CheckBox3, [](SettingsStore& s) -> bool& { return s.option.NEXT; }},
      {IDC_CheckBox5, [](SettingsStore& s) -> bool& { return s.option.parkOnDisconnect; }},
      {IDC_CheckBox10, [](SettingsStore& s) -> bool& { return s.option.showChannelTrayIcons; }},
      {IDC_CheckBox15, [](SettingsStore& s) -> bool& { return s.option.disconnectOnExit; }},
      {IDC_CheckBox2, [](SettingsStore& s) -> bool& { return s.option.ONSCREEN; }},
      {IDC_CheckBox13, [](SettingsStore& s) -> bool& { return s.option.startupConnect; }},
      {IDC_CheckBox18, [](SettingsStore& s) -> bool& { return s.option.runRouterScript; }},
      {IDC_CheckBox6, [](SettingsStore& s) -> bool& { return s.option.showConnectionTime; }},
      {IDC_CheckBox7, [](SettingsStore& s) -> bool& { return s.option.showIpAddress; }},
      {IDC_CheckBox8, [](SettingsStore& s) -> bool& { return s.option.showConnectionMode; }},
      {IDC_CheckBox9, [](SettingsStore& s) -> bool& { return s.option.showPhoneNumber; }},
      {IDC_CheckBox14, [](SettingsStore& s) -> bool& { return s.option.showLineUsage; }},
      {IDC_CheckBox19, [](SettingsStore& s) -> bool& { return s.option.showTransferRate; }},
      {IDC_CheckBox12, [](SettingsStore& s) -> bool& { return s.option.setRouterClock; }},
      {IDC_CheckBox16, [](SettingsStore& s) -> bool& { return s.option.askCredentialsEachCall; }},
      {IDC_CheckBox17, [](SettingsStore& s) -> bool& { return s.option.saveConnectionLog; }},
      {IDC_CheckNotifyIncoming, [](SettingsStore& s) -> bool& { return s.notify.INCOMING; }},
      {IDC_CheckNotifyConnected, [](SettingsStore& s) -> bool& { return s.notify.CONNECTED; }},
      {IDC_CheckNotifyDisconnected, [](SettingsStore& s) -> bool& { return s.notify.DISCONNECTED; }},
      {IDC_CheckNotifyFailed, [](SettingsStore& s) -> bool& { return s.notify.FAILED; }},
      {IDC_CheckNotifyRouter, [](SettingsStore& s) -> bool& { return s.notify.ROUTER; }},
  };
  for (bool value : {true, false}) {
    for (const auto& [id, field] : boxes) field(core.store) = value;
    dialog->loadFromStore();
    for (const auto& [id, field] : boxes) EXPECT_EQ(checked(id), value) << id;
  }
  for (const auto& [id, field] : boxes) {
    const SettingsStore before = core.store;
    toggle(id);
    EXPECT_TRUE(field(core.store)) << id;
    SettingsStore expected = before;
    field(expected) = true;
    // Nothing else changed: the same store with this one setting on.
    for (const auto& [other, otherField] : boxes) {
      EXPECT_EQ(otherField(core.store), otherField(expected)) << id << " also switched " << other;
    }
  }
}

TEST_F(SettingsDialogTest, TheIntervalIsKeptFrom2To58AndOtherwiseBecomes5) {
  const std::pair<const char*, const char*> cases[] = {{"1", "5"},   {"2", "2"},  {"30", "30"},
                                                       {"58", "58"}, {"59", "5"}, {"-3", "5"}};
  for (const auto& [typed, saved] : cases) {
    dialog->openDialog();
    type(IDC_Edit4, typed);
    pressOk();
    EXPECT_FALSE(dialog->isVisible()) << typed;
    EXPECT_EQ(core.store.option.TIME, saved) << typed;
    EXPECT_EQ(textOf(at(IDC_Edit4)), saved) << "the field shows what was saved";
    EXPECT_NE(iniText().find(std::string("TIME=") + saved), std::string::npos) << typed;
  }
  EXPECT_TRUE(messages.empty());
}

// The tariff page: each field loaded from its setting and in force at
// once; a number out of its range is not taken, and the close shows the
// setting again; a file without [TARIFF] gets only what was changed.
TEST_F(SettingsDialogTest, TheTariffPageHoldsItsSettingsAndTakesOnlyNumbersInRange) {
  struct Row {
    int id;
    int& (*field)(SettingsStore&);
    const char* typed;      // in range
    const char* refused;    // out of range or no number
  };
  const Row rows[] = {
      {IDC_SpinTariffUnit, [](SettingsStore& s) -> int& { return s.tariff.UNIT; }, "60", "0"},
      {IDC_SpinTariffYen, [](SettingsStore& s) -> int& { return s.tariff.YEN; }, "0", "100001"},
      {IDC_SpinFlatFrom, [](SettingsStore& s) -> int& { return s.tariff.FLATFROM; }, "22", "24"},
      {IDC_SpinFlatTo, [](SettingsStore& s) -> int& { return s.tariff.FLATTO; }, "5", ""},
  };
  core.store.tariff = {120, 9, 21, 6, "1"};
  dialog->loadFromStore();
  EXPECT_EQ(textOf(at(IDC_SpinTariffUnit)), "120");
  EXPECT_EQ(textOf(at(IDC_SpinTariffYen)), "9");
  EXPECT_EQ(textOf(at(IDC_SpinFlatFrom)), "21");
  EXPECT_EQ(textOf(at(IDC_SpinFlatTo)), "6");
  EXPECT_EQ(textOf(at(IDC_EditFlatDest)), "1");

  openOn(kTariff);
  for (const Row& row : rows) {
    type(row.id, row.typed);
    EXPECT_EQ(row.field(core.store), std::stoi(row.typed)) << row.typed << " is in force at once";
    type(row.id, row.refused);
    EXPECT_EQ(row.field(core.store), std::stoi(row.typed)) << "'" << row.refused << "' is not taken";
  }
  type(IDC_EditFlatDest, "0,3");
  EXPECT_EQ(core.store.tariff.FLATDEST, "0,3");
  pressOk();
  ASSERT_FALSE(dialog->isVisible());
  for (const Row& row : rows) EXPECT_EQ(textOf(at(row.id)), row.typed) << "the field shows what was saved";
  const std::string ini = iniText();
  EXPECT_NE(ini.find("[TARIFF]\r\nUNIT=60\r\nYEN=0\r\nFLATFROM=22\r\nFLATTO=5\r\nFLATDEST=0,3\r\n"),
            std::string::npos)
      << ini;
}

TEST_F(SettingsDialogTest, AnIntervalThatIsNoNumberKeepsTheDialogOpenWithItsMessage) {
  int round = 0;
  for (const char* typed : {"abc", "", "５"}) {
    const std::string off = "6:3" + std::to_string(round++);
    core.calls.clear();
    messages.clear();
    dialog->openDialog();
    type(IDC_Edit4, typed);
    type(IDC_Edit5, "10.0.0.1");
    type(IDC_Edit13, off);
    pressOk();
    EXPECT_TRUE(dialog->isVisible()) << typed;
    ASSERT_EQ(messages.size(), 1u) << typed;
    EXPECT_EQ(messages[0].kind, MessageKind::Error);
    EXPECT_EQ(messages[0].text, std::string("'") + typed + "' は整数ではありません");
    EXPECT_EQ(core.calls, std::vector<std::string>{"Config"}) << "the script stays held back";
    const std::string ini = iniText();
    EXPECT_NE(ini.find("SOHOIP=10.0.0.1"), std::string::npos) << "the router keys are written";
    EXPECT_EQ(ini.find("OFF=" + off), std::string::npos) << "the rest waits";

    type(IDC_Edit4, "10");
    SendMessageW(dialog->hwnd(), WM_CLOSE, 0, 0);  // the close box saves as OK does
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_NE(iniText().find("OFF=" + off), std::string::npos);
    EXPECT_EQ(core.last(), "ConfigClosed");
  }
}

// A settings file that cannot be written (a read-only program folder) is
// told, with the file's name, and the dialog closes all the same, by OK and
// by the close box: it could not be closed at all otherwise.
TEST_F(SettingsDialogTest, AWriteThatFailsIsToldAndTheDialogCloses) {
  std::filesystem::create_directory(core.files().iniPath());  // a folder where the file should be
  for (const bool byOk : {true, false}) {
    messages.clear();
    dialog->openDialog();
    if (byOk) {
      pressOk();
    } else {
      SendMessageW(dialog->hwnd(), WM_CLOSE, 0, 0);
    }
    EXPECT_FALSE(dialog->isVisible()) << byOk;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Error);
    EXPECT_NE(messages[0].text.find("Tarvik.ini に書き込めません"), std::string::npos) << messages[0].text;
    EXPECT_NE(messages[0].text.find("設定を保存できませんでした"), std::string::npos) << messages[0].text;
  }
}

TEST_F(SettingsDialogTest, EveryCloseSavesAndTheConnectHintFollowsTheDefaultEntry) {
  std::vector<std::string> entries;
  for (int i = 0; i < 16; ++i) entries.push_back("#" + std::to_string(i) + " プロバイダ");
  dialog->setDestinationList(entries);
  for (const bool byOk : {true, false}) {
    core.calls.clear();
    dialog->openDialog();
    type(IDC_Edit5, byOk ? "192.168.1.1" : "192.168.1.2");
    choose(at(IDC_ComboBox1), 2);
    if (byOk) {
      pressOk();
    } else {
      SendMessageW(dialog->hwnd(), WM_CLOSE, 0, 0);
    }
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(core.calls, (std::vector<std::string>{"Config", "ConfigClosed"}));
    const std::string ini = iniText();
    EXPECT_NE(ini.find(byOk ? "SOHOIP=192.168.1.1" : "SOHOIP=192.168.1.2"), std::string::npos) << ini;
    EXPECT_NE(ini.find("DEFAULT=2"), std::string::npos);
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back(), "#2 プロバイダ");
  }
}

TEST_F(SettingsDialogTest, EnterClosesOnMostPagesAddsOnTheNamePageAndEscapeDoesNothing) {
  openOn(kBasic);
  pressKey(at(IDC_Edit5), VK_ESCAPE);
  EXPECT_TRUE(dialog->isVisible()) << "no cancel";
  pressKey(at(IDC_Edit5), VK_RETURN);
  EXPECT_FALSE(dialog->isVisible()) << "Enter on the basic page presses OK";
  EXPECT_EQ(core.last(), "ConfigClosed");

  openOn(kTimed);
  toggle(IDC_CheckBox18);
  HWND script = at(IDC_Script);
  setText(script, "7:00 dis a");
  SendMessageW(script, EM_SETSEL, 10, 10);
  pressKey(script, VK_RETURN);
  EXPECT_TRUE(dialog->isVisible()) << "Enter in the script starts a line";
  EXPECT_EQ(textOf(script), "7:00 dis a\r\n");
  EXPECT_EQ(core.store.script, std::vector<std::string>{"7:00 dis a"});

  pressKey(GetWindow(at(IDC_ComboBox2), GW_CHILD), VK_RETURN);
  EXPECT_FALSE(dialog->isVisible()) << "Enter in a destination box presses OK";

  openOn(kNames);
  type(IDC_Edit22, "0312341234");
  type(IDC_Edit23, "事務所");
  pressKey(at(IDC_Edit23), VK_RETURN);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(core.store.nameList, std::vector<std::string>{toSjis("0312341234:事務所")});

  openOn(kSound);
  nextFile = L"C:\\wav\\a.wav";
  SendMessageW(at(IDC_Edit3), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageW(at(IDC_Edit3), WM_LBUTTONUP, 0, 0);
  pressKey(at(IDC_SoundBrowse), VK_RETURN);
  EXPECT_TRUE(dialog->isVisible()) << "a focused button takes Enter itself";
  EXPECT_EQ(textOf(at(IDC_Edit3)), "C:\\wav\\a.wav");
}

// The caller-name editor on the ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ page.
TEST_F(SettingsDialogTest, AddingAppendsTheTrimmedEntryAndPutsTheTrimmedTextsBack) {
  openOn(kNames);
  const std::pair<const char*, const char*> added[] = {
      {" 0312341234 ", "\t事務所  "}, {"0451112222", "Home"}, {"0451112222", "Home"}};
  for (const auto& [number, name] : added) {
    type(IDC_Edit22, number);
    type(IDC_Edit23, name);
    click(at(IDC_Button4));
  }
  const std::vector<std::string> expected = {"0312341234:事務所", "0451112222:Home", "0451112222:Home"};
  EXPECT_EQ(listed(), expected);
  EXPECT_EQ(core.store.nameList,
            (std::vector<std::string>{toSjis("0312341234:事務所"), "0451112222:Home", "0451112222:Home"}));
  EXPECT_EQ(textOf(at(IDC_Edit22)), "0451112222") << "the fields are not cleared";
  type(IDC_Edit22, " 1 ");
  type(IDC_Edit23, "");
  click(at(IDC_Button4));
  EXPECT_EQ(textOf(at(IDC_Edit22)), "1") << "the trimmed text goes back, also when nothing is added";
  EXPECT_TRUE(messages.empty());

  pressOk();
  ASSERT_FALSE(dialog->isVisible());
  EXPECT_EQ(tarvik::testing::readBytes(core.files().iniPath().parent_path() / "Tarvik.lst"),
            toSjis("0312341234:事務所\r\n0451112222:Home\r\n0451112222:Home\r\n"));
}

TEST_F(SettingsDialogTest, ADashShowsTheWarningAndAddsNothingAndAnEmptyFieldAddsNothingSilently) {
  openOn(kNames);
  const struct {
    const char* number;
    const char* name;
    bool warned;
  } cases[] = {
      {"03-1234", "Office", true}, {"-", "", true},     {"0312341234", "", false},
      {"", "Office", false},       {"  ", "  ", false},
  };
  for (const auto& c : cases) {
    messages.clear();
    type(IDC_Edit22, c.number);
    type(IDC_Edit23, c.name);
    click(at(IDC_Button4));
    if (c.warned) {
      ASSERT_EQ(messages.size(), 1u) << c.number;
      EXPECT_EQ(messages[0].kind, MessageKind::Warning);
      EXPECT_EQ(messages[0].text, "数字のみ入力して下さい");
    } else {
      EXPECT_TRUE(messages.empty()) << c.number;
    }
    EXPECT_TRUE(listed().empty()) << c.number;
    EXPECT_TRUE(core.store.nameList.empty()) << c.number;
  }
}

TEST_F(SettingsDialogTest, DeleteRemovesTheSelectedEntryAndNothingWithoutASelection) {
  core.store.nameList = {"1:a", "2:b", "3:c"};
  dialog->loadFromStore();
  openOn(kNames);
  click(at(IDC_Button5));
  EXPECT_EQ(core.store.nameList.size(), 3u);
  SendMessageW(at(IDC_ListBox1), LB_SETCURSEL, 1, 0);
  click(at(IDC_Button5));
  EXPECT_EQ(listed(), (std::vector<std::string>{"1:a", "3:c"}));
  EXPECT_EQ(core.store.nameList, (std::vector<std::string>{"1:a", "3:c"}));
}

TEST_F(SettingsDialogTest, TypingInADestinationBoxMatchesOnlyAWholeEntryExactly) {
  dialog->setDestinationList(providerEntries());
  const std::pair<int, int& (*)(SettingsStore&)> boxes[] = {
      {IDC_ComboBox1, [](SettingsStore& s) -> int& { return s.tarvik.DEFAULT; }},
      {IDC_ComboBox2, [](SettingsStore& s) -> int& { return s.tarvik.AUTO; }},
      {IDC_RedialBox, [](SettingsStore& s) -> int& { return s.tarvik.REDIAL; }},
  };
  const std::pair<const char*, int> cases[] = {
      {"#4", 16}, {"#4 provider4", 16}, {"#4 Provider4", 4}, {"#12 Provider1", 16}, {"#12 Provider12", 12}};
  dialog->openDialog();
  for (const auto& [id, field] : boxes) {
    for (const auto& [typed, index] : cases) {
      typeInto(at(id), typed);
      EXPECT_EQ(field(core.store), index) << id << " after typing " << typed;
      EXPECT_EQ(textOf(at(id)), typed) << "nothing was completed";
    }
    EXPECT_EQ(SendMessageW(at(id), CB_GETCOUNT, 0, 0), 16) << "typing never adds an entry";
    choose(at(id), 7);
    EXPECT_EQ(field(core.store), 7);
  }
}

TEST_F(SettingsDialogTest, TheApplicationPageFollowsItsDestinationSectionBySection) {
  core.files().saveApplications(3, {"ppp-up", "", "", "mail $IP", "", "", ""});
  dialog->setDestinationList(providerEntries());
  openOn(kApps);
  HWND box = at(IDC_ComboBox3);
  type(IDC_Edit7, "browser");
  type(IDC_Edit20, "clock");

  choose(box, 3);
  EXPECT_EQ(core.store.appPageDestination, 3);
  EXPECT_EQ(core.files().loadApplications(0), (ApplicationList{"browser", "", "", "", "", "", "clock"}));
  EXPECT_EQ(textOf(at(IDC_Edit7)), "ppp-up");
  EXPECT_EQ(textOf(at(IDC_Edit10)), "mail $IP");
  EXPECT_EQ(textOf(at(IDC_Edit20)), "");

  // Key by key no section is read or written; the switch comes when the
  // typing ends (the focus leaves the box).
  typeInto(box, "no such destination");
  EXPECT_EQ(core.store.appPageDestination, 3);
  SetFocus(at(IDC_Edit8));
  drainMessages();
  EXPECT_EQ(core.store.appPageDestination, 16);
  type(IDC_Edit8, "unmatched");
  pressOk();
  ASSERT_FALSE(dialog->isVisible());
  EXPECT_NE(iniText().find("[AP16]"), std::string::npos);
  EXPECT_EQ(core.files().loadApplications(16)[1], "unmatched");
  EXPECT_EQ(core.files().loadApplications(3)[0], "ppp-up") << "one destination's lists never reach another's";

  // Typed and closed at once with Enter: one switch, then the save.
  core.files().saveApplications(14, {"fourteen", "", "", "", "", "", ""});
  openOn(kApps);
  typeInto(box, "#14 Provider14");
  pressKey(GetWindow(box, GW_CHILD), VK_RETURN);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(core.store.appPageDestination, 14);
  EXPECT_EQ(core.files().loadApplications(16)[1], "unmatched");
  EXPECT_EQ(core.files().loadApplications(14)[0], "fourteen");
}

TEST_F(SettingsDialogTest, OpeningAgainWhileOpenOnlyBringsItToTheFront) {
  dialog->openDialog();
  type(IDC_Edit7, "typed");
  core.files().saveApplications(0, {"from file", "", "", "", "", "", ""});
  dialog->openDialog();
  EXPECT_EQ(textOf(at(IDC_Edit7)), "typed");
  EXPECT_EQ(configCalls(), 2);
  ASSERT_TRUE(dialog->closeDialog());
  dialog->openDialog();
  EXPECT_EQ(textOf(at(IDC_Edit7)), "typed") << "the close saved it";
}

TEST_F(SettingsDialogTest, AClickedPathFieldIsTheBrowseTargetForBothBrowseButtons) {
  EXPECT_EQ(core.store.sound.s7.empty(), false) << "the defaults name a warning sound";
  dialog->openDialog();
  auto clickIn = [&](int id) {
    SendMessageW(at(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(at(id), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  };
  nextFile = L"C:\\サウンド\\鳴る.wav";
  click(at(IDC_SoundBrowse));
  EXPECT_EQ(textOf(at(IDC_Edit2)), "C:\\サウンド\\鳴る.wav") << "the loaded warning sound is the target";

  clickIn(IDC_Edit6);
  clickIn(IDC_Edit_RingSound);
  clickIn(IDC_Edit_NameSound);
  SetFocus(at(IDC_Edit3));  // the keyboard does not move the target
  dialog->showTab(kApps);
  nextFile = L"C:\\x.wav";
  click(at(IDC_AppBrowse));  // the target lies on the other page
  EXPECT_EQ(textOf(at(IDC_Edit6)), "C:\\x.wav") << "ring and folder fields are never targets";
  EXPECT_EQ(core.store.sound.s1, "C:\\x.wav");

  clickIn(IDC_Edit11);
  nextFile = L"C:\\tools\\clock.exe";
  click(at(IDC_AppBrowse));
  EXPECT_EQ(textOf(at(IDC_Edit11)), "C:\\tools\\clock.exe");

  nextFile.reset();  // cancelled
  click(at(IDC_SoundBrowse));
  EXPECT_EQ(textOf(at(IDC_Edit11)), "C:\\tools\\clock.exe") << "a cancel keeps the path";
  EXPECT_EQ(pickerCalls, 4);
}

TEST_F(SettingsDialogTest, WithoutATargetTheFileDialogShowsAndNothingChanges) {
  core.store.sound.s7.clear();
  dialog = make();
  nextFile = L"C:\\x.wav";
  const SettingsStore before = core.store;
  click(at(IDC_SoundBrowse));
  EXPECT_EQ(pickerCalls, 1);
  EXPECT_EQ(core.store.sound.s1, before.sound.s1);
  EXPECT_EQ(core.store.sound.s7, before.sound.s7);
}

TEST_F(SettingsDialogTest, EachPlayButtonPlaysItsOwnRowsFileAndAnEmptyRowNothing) {
  const std::pair<int, int> rows[] = {
      {IDC_SpeedButton1, IDC_Edit6},          {IDC_SpeedButton2, IDC_Edit1},  {IDC_SpeedButton3, IDC_Edit3},
      {IDC_SpeedButton5, IDC_Edit15},         {IDC_SpeedButton7, IDC_Edit16}, {IDC_SpeedButton4, IDC_Edit2},
      {IDC_SpeedButton8, IDC_Edit_RingSound},
  };
  for (const auto& [button, edit] : rows) type(edit, "wav\\" + std::to_string(edit) + "音.wav");
  type(IDC_Edit16, "");
  for (const auto& [button, edit] : rows) click(at(button));
  std::vector<std::string> expected;
  for (int edit : {IDC_Edit6, IDC_Edit1, IDC_Edit3, IDC_Edit15, IDC_Edit2, IDC_Edit_RingSound}) {
    expected.push_back(toSjis("wav\\" + std::to_string(edit) + "音.wav"));
  }
  EXPECT_EQ(played, expected);
}

TEST_F(SettingsDialogTest, MonitoringOffGreysTheIntervalAndTheScriptFollowsItsBox) {
  ASSERT_FALSE(monitoringOff.empty()) << "told right after the load";
  EXPECT_FALSE(monitoringOff.back());
  EXPECT_TRUE(IsWindowEnabled(at(IDC_Edit4)));
  EXPECT_FALSE(IsWindowEnabled(at(IDC_Script)));
  toggle(IDC_CheckBox11);
  EXPECT_FALSE(IsWindowEnabled(at(IDC_Edit4)));
  EXPECT_TRUE(monitoringOff.back());
  toggle(IDC_CheckBox11);
  EXPECT_TRUE(IsWindowEnabled(at(IDC_Edit4)));
  EXPECT_FALSE(monitoringOff.back());
  toggle(IDC_CheckBox18);
  EXPECT_TRUE(IsWindowEnabled(at(IDC_Script)));

  core.store.option.monitoringOff = true;
  core.store.option.runRouterScript = false;
  dialog->loadFromStore();
  EXPECT_FALSE(IsWindowEnabled(at(IDC_Edit4)));
  EXPECT_FALSE(IsWindowEnabled(at(IDC_Script)));
}

// The main window follows 常に手前に表示 from the load on, and at each click.
TEST_F(SettingsDialogTest, StayOnTopIsToldAfterTheLoadAndAtEachClick) {
  core.store.option.ONSCREEN = true;
  dialog->loadFromStore();
  ASSERT_FALSE(stayOnTop.empty());
  EXPECT_TRUE(stayOnTop.back());
  toggle(IDC_CheckBox2);
  EXPECT_FALSE(stayOnTop.back());
  toggle(IDC_CheckBox2);
  EXPECT_TRUE(stayOnTop.back());
}

TEST_F(SettingsDialogTest, TheScriptIsKeptLineByLine) {
  core.store.script = {"23:00 co 1", toSjis("7:00 dis a ; 朝")};
  dialog->loadFromStore();
  EXPECT_EQ(textOf(at(IDC_Script)), "23:00 co 1\r\n7:00 dis a ; 朝");
  toggle(IDC_CheckBox18);
  HWND script = at(IDC_Script);
  SendMessageW(script, EM_SETSEL, 0, -1);
  for (wchar_t c : std::wstring(L"a\rb\r")) SendMessageW(script, WM_CHAR, c, 0);
  EXPECT_EQ(textOf(script), "a\r\nb\r\n");
  EXPECT_EQ(core.store.script, (std::vector<std::string>{"a", "b"})) << "a final line break makes no line";
  // Text put in by program is taken at the close.
  setText(script, "x\r\ny");
  ASSERT_TRUE(dialog->closeDialog());
  EXPECT_EQ(core.store.script, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(tarvik::testing::readBytes(core.files().iniPath().parent_path() / "Tarvik.spt"), "x\r\ny\r\n");
}

TEST_F(SettingsDialogTest, ThePasswordShowsStars) {
  EXPECT_EQ(SendMessageW(at(IDC_Edit14), EM_GETPASSWORDCHAR, 0, 0), L'*');
}

TEST_F(SettingsDialogTest, TheSoundPagesTabOrderPutsTheBrowseButtonBeforeTheRingSound) {
  openOn(kSound);
  std::vector<int> order;
  HWND control = at(IDC_Edit6);
  for (int i = 0; i < 10 && control; ++i) {
    order.push_back(GetDlgCtrlID(control));
    control = GetNextDlgTabItem(dialog->hwnd(), control, FALSE);
  }
  EXPECT_EQ(order, (std::vector<int>{IDC_Edit6, IDC_Edit1, IDC_Edit3, IDC_Edit15, IDC_Edit16, IDC_Edit2,
                                     IDC_SoundBrowse, IDC_Edit_RingSound, IDC_Edit_NameSound, IDOK}));
}

std::wstring faceOf(HWND control) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  return lf.lfFaceName;
}

// The destination boxes keep the fixed-pitch face, also after the dialog
// has moved to a screen of another scale (the system then gives every
// control the dialog's font).
TEST_F(SettingsDialogTest, DestinationBoxesKeepTheFixedPitchFaceAcrossAScaleChange) {
  const std::wstring dialogFace = faceOf(at(IDC_Edit5));
  const std::wstring fixedFace = faceOf(at(IDC_ComboBox1));
  EXPECT_NE(fixedFace, dialogFace);
  dialog->openDialog();
  RECT r{};
  GetWindowRect(dialog->hwnd(), &r);
  SendMessageW(dialog->hwnd(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&r));
  for (const int id : {IDC_ComboBox1, IDC_ComboBox3})
    SendMessageW(at(id), WM_SETFONT, SendMessageW(at(IDC_Edit5), WM_GETFONT, 0, 0), FALSE);
  drainMessages();
  for (const int id : {IDC_ComboBox1, IDC_ComboBox2, IDC_RedialBox, IDC_ComboBox3}) {
    EXPECT_EQ(faceOf(at(id)), fixedFace) << id;
  }
}

}  // namespace
}  // namespace tarvik::win32

// The Win32 dialog's side of the settings form, driven through its controls
// as a user drives them: every row of the form's table has a control of its
// name and kind, each control's notifications reach the form, and the keys
// and windows are this toolkit's. What the form does with the values is
// tested once, in tests/unit/desktop. What reaches the engine is recorded,
// the files are the real ones, messages are captured instead of shown.
#include <gtest/gtest.h>

#include <algorithm>

#include "desktop/settingsformtable.h"
#include "dialogfixture.h"
#include "engine/settings/settingskeys.h"
#include "win32/dialogs/controlids.h"
#include "win32/dialogs/dialogids.h"
#include "win32/widetext.h"

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

using desktop::ControlKind;
using desktop::FormButton;
using desktop::FormField;

std::wstring classOf(HWND control) {
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 32);
  return cls;
}
LONG styleOf(HWND control) { return GetWindowLongW(control, GWL_STYLE); }

TEST_F(SettingsDialogTest, EveryRowOfTheFormTableHasAControlOfItsNameAndKind) {
  for (const FormField& field : desktop::settingsFormFields()) {
    SCOPED_TRACE(std::string(field.control));
    const int id = controlId(field.control);
    ASSERT_NE(id, 0) << "no id of that name in dialogids.h";
    HWND c = dialog->control(id);
    ASSERT_NE(c, nullptr) << "no control of that id in dialogs.rc";
    const std::wstring cls = classOf(c);
    switch (field.kind) {
      case ControlKind::Text:
      case ControlKind::Number:
      case ControlKind::AppCommand:
      case ControlKind::NameField:
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"Edit"), 0);
        EXPECT_EQ(SendMessageW(c, EM_GETPASSWORDCHAR, 0, 0), 0);
        EXPECT_EQ(styleOf(c) & ES_MULTILINE, 0);
        break;
      case ControlKind::Password:
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"Edit"), 0);
        EXPECT_EQ(SendMessageW(c, EM_GETPASSWORDCHAR, 0, 0), L'*');
        break;
      case ControlKind::Check:
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"Button"), 0);
        EXPECT_EQ(styleOf(c) & BS_TYPEMASK, BS_AUTOCHECKBOX);
        break;
      case ControlKind::Destination:
      case ControlKind::AppDestination:
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"ComboBox"), 0);
        EXPECT_EQ(styleOf(c) & 3, CBS_DROPDOWN) << "an editable box";
        break;
      case ControlKind::Script:
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"Edit"), 0);
        EXPECT_NE(styleOf(c) & ES_MULTILINE, 0);
        break;
      case ControlKind::NameList:
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"ListBox"), 0);
        break;
    }
  }
  for (const FormButton& button : desktop::settingsFormButtons()) {
    HWND c = dialog->control(controlId(button.control));
    ASSERT_NE(c, nullptr) << button.control;
    EXPECT_EQ(_wcsicmp(classOf(c).c_str(), L"Button"), 0) << button.control;
  }
}

// The captions worded for Windows show in their controls, and whole: the
// text and the check mark fit the control's width.
TEST_F(SettingsDialogTest, PlatformCaptionsAreTheWindowsWordsAndFitTheirControls) {
  ASSERT_FALSE(desktop::platformCaptions().empty());
  for (const desktop::PlatformCaption& caption : desktop::platformCaptions()) {
    SCOPED_TRACE(std::string(caption.control));
    HWND c = at(controlId(caption.control));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(textOf(c), caption.windows);
    const std::wstring text = widen(caption.windows);
    HDC dc = GetDC(c);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(c, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(c, dc);
    RECT box{};
    GetClientRect(c, &box);
    const int mark = GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
    EXPECT_LE(mark + size.cx, box.right) << "the caption is cut";
  }
}

// Each control, changed as the user changes it, changes its own key at
// once; loaded, it shows its key's value.
TEST_F(SettingsDialogTest, EveryControlTellsTheFormItsChangesAndShowsWhatIsLoaded) {
  dialog->setDestinationList(providerEntries());
  dialog->openDialog();
  for (const FormField& field : desktop::settingsFormFields()) {
    const SettingKey* key = desktop::settingKeyOf(field);
    if (!key) continue;
    SCOPED_TRACE(std::string(field.control));
    const int id = controlId(field.control);
    SettingsStore& s = core.store;
    switch (field.kind) {
      case ControlKind::Text:
      case ControlKind::Password: {
        const std::string typed = field.control == "Edit4" ? "17" : "値 " + std::string(field.control);
        type(id, typed);
        EXPECT_EQ(key->text(s), toSjis(typed));
        key->text(s) = toSjis("読 " + typed);
        dialog->loadFromStore();
        EXPECT_EQ(textOf(at(id)), "読 " + typed);
        break;
      }
      case ControlKind::Number:
        type(id, std::to_string(key->max));
        EXPECT_EQ(key->number(s), key->max);
        key->number(s) = key->min;
        dialog->loadFromStore();
        EXPECT_EQ(textOf(at(id)), std::to_string(key->min));
        break;
      case ControlKind::Check: {
        const bool before = key->flag(s);
        toggle(id);
        EXPECT_EQ(key->flag(s), !before);
        key->flag(s) = before;
        dialog->loadFromStore();
        EXPECT_EQ(checked(id), before);
        break;
      }
      case ControlKind::Destination:
        choose(at(id), 9);
        EXPECT_EQ(key->number(s), 9);
        typeInto(at(id), "#12 Provider12");
        EXPECT_EQ(key->number(s), 12);
        typeInto(at(id), "#12 Provider1");
        EXPECT_EQ(key->number(s), 16);
        EXPECT_EQ(textOf(at(id)), "#12 Provider1") << "nothing was completed";
        EXPECT_EQ(SendMessageW(at(id), CB_GETCOUNT, 0, 0), 16) << "typing never adds an entry";
        key->number(s) = 3;
        dialog->loadFromStore();
        EXPECT_EQ(textOf(at(id)), "#3 Provider3");
        break;
      default:
        break;
    }
  }
  core.store.nameList = {"1:a", "2:b"};
  dialog->loadFromStore();
  EXPECT_EQ(listed(), (std::vector<std::string>{"1:a", "2:b"}));
}

// The buttons reach the form: play, browse (the target chosen by a click,
// not by the keyboard), the caller-name editor, OK and the close box.
TEST_F(SettingsDialogTest, EveryButtonReachesTheForm) {
  dialog->openDialog();
  type(IDC_Edit6, "wav\\接続.wav");
  click(at(IDC_SpeedButton1));
  EXPECT_EQ(played, std::vector<std::string>{toSjis("wav\\接続.wav")});

  SendMessageW(at(IDC_Edit3), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(at(IDC_Edit3), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  SetFocus(at(IDC_Edit6));  // the keyboard does not move the target
  nextFile = L"C:\\サウンド\\鳴る.wav";
  click(at(IDC_AppBrowse));
  EXPECT_EQ(textOf(at(IDC_Edit3)), "C:\\サウンド\\鳴る.wav");
  EXPECT_EQ(core.store.sound.s3, toSjis("C:\\サウンド\\鳴る.wav"));
  click(at(IDC_SoundBrowse));
  EXPECT_EQ(pickerCalls, 2);

  type(IDC_Edit22, "03-1234");
  type(IDC_Edit23, "Office");
  click(at(IDC_Button4));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, MessageKind::Warning);
  type(IDC_Edit22, " 0312341234 ");
  click(at(IDC_Button4));
  EXPECT_EQ(textOf(at(IDC_Edit22)), "0312341234") << "the trimmed text goes back";
  EXPECT_EQ(listed(), std::vector<std::string>{"0312341234:Office"});
  SendMessageW(at(IDC_ListBox1), LB_SETCURSEL, 0, 0);
  click(at(IDC_Button5));
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(core.store.nameList.empty());

  pressOk();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(core.last(), "ConfigClosed");
}

// The close box closes as OK does: the engine saves, the connect button's
// hint arrives; an interval that is no number keeps the dialog open, a
// file that cannot be written closes it after its message.
TEST_F(SettingsDialogTest, TheCloseBoxClosesAsOkDoesAndKeepsOpenOnlyForABadInterval) {
  std::vector<std::string> entries;
  for (int i = 0; i < 16; ++i) entries.push_back("#" + std::to_string(i) + " プロバイダ");
  dialog->setDestinationList(entries);
  core.calls.clear();
  dialog->openDialog();
  choose(at(IDC_ComboBox1), 2);
  SendMessageW(dialog->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(core.calls, (std::vector<std::string>{"Config", "ConfigClosed"}));
  EXPECT_EQ(hints, std::vector<std::string>{"#2 プロバイダ"});

  dialog->openDialog();
  type(IDC_Edit4, "abc");
  SendMessageW(dialog->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(messageTexts(), std::vector<std::string>{"'abc' は整数ではありません"});

  messages.clear();
  type(IDC_Edit4, "10");
  std::filesystem::remove(core.files().iniPath());
  std::filesystem::create_directory(core.files().iniPath());  // cannot be written
  pressOk();
  EXPECT_FALSE(dialog->isVisible());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].text.find("設定を保存できませんでした"), std::string::npos) << messages[0].text;
}

TEST_F(SettingsDialogTest, TheDependentStatesShowInTheControlsAndTheMainWindowHearsOfThem) {
  ASSERT_FALSE(monitoringOff.empty()) << "told right after the load";
  ASSERT_FALSE(stayOnTop.empty());
  EXPECT_TRUE(IsWindowEnabled(at(IDC_Edit4)));
  EXPECT_FALSE(IsWindowEnabled(at(IDC_Script)));
  toggle(IDC_CheckBox11);
  EXPECT_FALSE(IsWindowEnabled(at(IDC_Edit4)));
  EXPECT_TRUE(monitoringOff.back());
  toggle(IDC_CheckBox18);
  EXPECT_TRUE(IsWindowEnabled(at(IDC_Script)));
  toggle(IDC_CheckBox2);
  EXPECT_EQ(stayOnTop.back(), core.store.option.ONSCREEN);
}

// The application page's box switches sections when the typing ends (the
// focus leaves the box), or once when Enter closes the dialog right after.
TEST_F(SettingsDialogTest, TheApplicationPageSwitchesWhenTheTypingEnds) {
  dialog->setDestinationList(providerEntries());
  openOn(kApps);
  HWND box = at(IDC_ComboBox3);
  core.files().saveApplications(4, {"four", "", "", "", "", "", ""});
  choose(box, 4);
  EXPECT_EQ(textOf(at(IDC_Edit7)), "four");
  typeInto(box, "no such destination");
  EXPECT_EQ(core.store.appPageDestination, 4) << "not while typing";
  SetFocus(at(IDC_Edit8));
  drainMessages();
  EXPECT_EQ(core.store.appPageDestination, 16);

  core.files().saveApplications(14, {"fourteen", "", "", "", "", "", ""});
  typeInto(box, "#14 Provider14");
  pressKey(GetWindow(box, GW_CHILD), VK_RETURN);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(core.store.appPageDestination, 14);
  EXPECT_EQ(core.files().loadApplications(14)[0], "fourteen");
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

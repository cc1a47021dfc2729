// TForm3, "Tarvik - 設定": a tab control over one child dialog per page. The
// controls are bound to the engine's settings through the tables of
// settingsbindings.cpp; every change is applied at once, every close saves.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <commdlg.h>
#include <uxtheme.h>

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "engine/base/sjis.h"
#include "engine/core/coretexts.h"
#include "engine/core/enginecommands.h"
#include "win32/dialogs/dialogids.h"
#include "win32/dialogs/dialogs.h"
#include "win32/dialogs/dialogsupport.h"
#include "win32/dialogs/settingsbindings.h"
#include "engine/settings/namelistedit.h"
#include "win32/widetext.h"
#include "win32/winsound.h"

namespace tarvik::win32 {
namespace {

enum Tab { kBasic = 0, kSound, kApps, kTimed, kAdvanced, kNames, kNotify, kTariff, kTabCount };

struct PageRow {
  int dialog;
  const char* title;
};
constexpr PageRow kPages[kTabCount] = {
    {IDD_PAGE_BASIC, "基本設定"}, {IDD_PAGE_SOUND, "ｻｳﾝﾄﾞ設定"},     {IDD_PAGE_APPS, "同時起動ｱﾌﾟﾘ"},
    {IDD_PAGE_TIMED, "時限処理"}, {IDD_PAGE_ADVANCED, "高度な設定"}, {IDD_PAGE_NAMES, "ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ"},
    {IDD_PAGE_NOTIFY, "通知"},   {IDD_PAGE_TARIFF, "料金"},
};

// The seven command lines of the application page, keys 1 to 7.
constexpr int kAppFields[7] = {IDC_Edit7,  IDC_Edit8,  IDC_Edit9, IDC_Edit10,
                               IDC_Edit11, IDC_Edit19, IDC_Edit20};

// Path fields that a click makes the browse target (the ring-sound and the
// name-sound folder fields never are).
constexpr int kBrowseTargets[] = {IDC_Edit7,  IDC_Edit8,  IDC_Edit9, IDC_Edit10, IDC_Edit11,
                                  IDC_Edit19, IDC_Edit20, IDC_Edit6, IDC_Edit1,  IDC_Edit3,
                                  IDC_Edit2,  IDC_Edit15, IDC_Edit16};

// Play button and the path field of its own row.
constexpr std::pair<int, int> kPlayButtons[] = {
    {IDC_SpeedButton1, IDC_Edit6},          {IDC_SpeedButton2, IDC_Edit1},  {IDC_SpeedButton3, IDC_Edit3},
    {IDC_SpeedButton5, IDC_Edit15},         {IDC_SpeedButton7, IDC_Edit16}, {IDC_SpeedButton4, IDC_Edit2},
    {IDC_SpeedButton8, IDC_Edit_RingSound},
};

constexpr int kEntries = 16;  // destination entries #0 to #15; 16 is "none matches"

std::optional<std::wstring> platformFilePicker(HWND owner) {
  std::wstring file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  file.resize(wcslen(file.c_str()));
  return file;
}

// Script text <-> lines; a final line break does not make an extra line.
std::vector<std::string> scriptLines(const std::string& sjisText) {
  std::vector<std::string> lines;
  if (sjisText.empty()) return lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = sjisText.find('\n', start);
    std::string line = sjisText.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (end == std::string::npos) {
      if (!line.empty() || lines.empty()) lines.push_back(line);
      break;
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string scriptText(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  return text;
}

// A field's whole number within min..max; nothing for any other text.
std::optional<int> numberIn(const std::string& text, int min, int max) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return {};
  const int value = std::stoi(text);
  if (value < min || value > max) return {};
  return value;
}

bool isPushButton(HWND control) {
  wchar_t cls[16] = {};
  GetClassNameW(control, cls, 16);
  if (_wcsicmp(cls, L"Button") != 0) return false;
  const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

struct SettingsDialog::Impl {
  Impl(EngineCommands& c, Hooks h) : core(c), hooks(std::move(h)) {
    if (!hooks.pickFile) hooks.pickFile = platformFilePicker;
    if (!hooks.message) hooks.message = systemMessageBox();
  }

  EngineCommands& core;
  Hooks hooks;
  WinSound sound;  // the play buttons' player when the front end gives none
  HWND dlg = nullptr;
  HWND tabs = nullptr;
  std::array<HWND, kTabCount> pages{};
  HWND browseTarget = nullptr;
  HFONT fixedFont = nullptr;
  bool loading = false;
  int tab = kSound;  // the first opening shows the sound page

  HWND control(int id) const {
    if (HWND c = GetDlgItem(dlg, id)) return c;
    for (HWND page : pages) {
      if (HWND c = page ? GetDlgItem(page, id) : nullptr) return c;
    }
    return nullptr;
  }

  void edit(const std::function<void(SettingsStore&)>& change) {
    SettingsStore edited = core.settings();
    change(edited);
    core.applySettings(edited);
  }

  void message(MessageKind kind, const std::string& text) { hooks.message(dlg, kind, text); }

  // A settings file that cannot be read or written must not end the
  // program: the failure becomes a message like the store's own ones.
  template <typename Operation>
  std::string guarded(Operation operation) {
    try {
      return operation();
    } catch (const std::exception& e) {
      const std::u8string path = core.files().iniPath().u8string();
      return "設定ファイル " + std::string(path.begin(), path.end()) + " を読み書きできません: " + e.what();
    }
  }

  // --- building ---

  void build() {
    tabs = GetDlgItem(dlg, IDC_PageControl1);
    // Eight captions in one row: half the usual room beside each.
    SendMessageW(tabs, TCM_SETPADDING, 0, MAKELPARAM(3, 3));
    for (int i = 0; i < kTabCount; ++i) {
      std::wstring title = widen(kPages[i].title);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = title.data();
      SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    RECT area{};
    GetWindowRect(tabs, &area);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(tabs, FALSE, &area);
    HWND after = tabs;
    for (int i = 0; i < kTabCount; ++i) {
      pages[i] = createDialogFromResource(kPages[i].dialog, dlg, pageProc, reinterpret_cast<LPARAM>(this));
      EnableThemeDialogTexture(pages[i], ETDT_ENABLETAB);
      // After the tab control in the Tab order, before OK.
      SetWindowPos(pages[i], after, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOACTIVATE);
      after = pages[i];
    }
    SendMessageW(control(IDC_Edit14), EM_SETPASSWORDCHAR, L'*', 0);
    applyFixedFont();
    for (int id : kBrowseTargets)
      SetWindowSubclass(control(id), browseFieldProc, 1, reinterpret_cast<DWORD_PTR>(this));
    std::vector<std::string> empty(kEntries);
    for (const DestinationBinding& b : destinationBindings()) fillBox(control(b.id), empty, 0);
    showTab(tab);
  }

  // The destination entries' columns line up in the fixed-pitch face, at
  // the scale of the dialog's screen.
  void applyFixedFont() {
    HFONT old = fixedFont;
    fixedFont = createFont(dlg, japaneseFixedFace(), 9);
    for (const DestinationBinding& b : destinationBindings()) {
      SendMessageW(control(b.id), WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
    }
    if (old) DeleteObject(old);
  }

  // --- destination boxes ---

  void fillBox(HWND box, const std::vector<std::string>& entries, int index) {
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kEntries; ++i) {
      const std::wstring text = widen(i < static_cast<int>(entries.size()) ? entries[i] : std::string());
      SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    showIndex(box, index);
  }

  static void showIndex(HWND box, int index) {
    if (index >= 0 && index < kEntries) {
      SendMessageW(box, CB_SETCURSEL, index, 0);
    } else {
      SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      SetWindowTextW(box, L"");
    }
    // Show the start of a long entry (its number), not its end.
    SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(0, 0));
  }

  static std::wstring itemText(HWND box, int i) {
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, i, 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
  }

  // The first entry whose text equals text exactly, or 16.
  static int indexForText(HWND box, const std::wstring& text) {
    for (int i = 0; i < kEntries; ++i) {
      if (itemText(box, i) == text) return i;
    }
    return kEntries;
  }

  static std::wstring boxText(HWND box) { return widen(controlText(box)); }

  // --- pages ---

  void showTab(int index) {
    tab = index;
    SendMessageW(tabs, TCM_SETCURSEL, index, 0);
    for (int i = 0; i < kTabCount; ++i) ShowWindow(pages[i], i == index ? SW_SHOWNA : SW_HIDE);
    // "追加" is the default button on the name page, "OK" elsewhere.
    const bool names = index == kNames;
    SendMessageW(control(IDC_Button4), BM_SETSTYLE, names ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    SendMessageW(GetDlgItem(dlg, IDOK), BM_SETSTYLE, names ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
  }

  void loadFromStore() {
    // The controls' own change notices would write each value back one by
    // one; the loaded copy goes to the engine once, as read.
    const SettingsStore loaded = core.settings();
    loading = true;
    const std::string oldWarning = controlTextSjis(control(IDC_Edit2));
    for (const TextBinding& b : textBindings()) {
      setControlTextSjis(control(b.id), b.field(const_cast<SettingsStore&>(loaded)));
    }
    for (const BoolBinding& b : boolBindings()) {
      CheckDlgButton(GetParent(control(b.id)), b.id,
                     b.field(const_cast<SettingsStore&>(loaded)) ? BST_CHECKED : BST_UNCHECKED);
    }
    showNumbers(loaded);
    setControlTextSjis(control(IDC_Script), scriptText(loaded.script));
    HWND list = control(IDC_ListBox1);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& entry : loaded.nameList) {
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(toUtf8(entry)).c_str()));
    }
    for (const DestinationBinding& b : destinationBindings()) {
      showIndex(control(b.id), b.field(const_cast<SettingsStore&>(loaded)));
    }
    loading = false;
    // Filling the warning sound's path makes it the browse target.
    if (controlTextSjis(control(IDC_Edit2)) != oldWarning) browseTarget = control(IDC_Edit2);
    core.applySettings(loaded);
    applyDependentStates();
  }

  // The number fields show their settings (a field left with a value
  // that was not taken shows the setting again).
  void showNumbers(const SettingsStore& store) {
    const bool wasLoading = loading;
    loading = true;
    for (const NumberBinding& b : numberBindings()) {
      const std::string value = std::to_string(b.field(const_cast<SettingsStore&>(store)));
      if (controlText(control(b.id)) != value) setControlText(control(b.id), value);
    }
    loading = wasLoading;
  }

  void setDestinationList(const std::vector<std::string>& entries) {
    SettingsStore store = core.settings();
    for (const DestinationBinding& b : destinationBindings()) fillBox(control(b.id), entries, b.field(store));
  }

  void applyDependentStates() {
    const SettingsStore& store = core.settings();
    EnableWindow(control(IDC_Edit4), !store.option.monitoringOff);
    EnableWindow(control(IDC_Script), store.option.runRouterScript);
    if (hooks.monitoringOffChanged) hooks.monitoringOffChanged(store.option.monitoringOff);
    if (hooks.stayOnTopChanged) hooks.stayOnTopChanged(store.option.ONSCREEN);
  }

  // --- application page ---

  ApplicationList appFields() const {
    ApplicationList apps;
    for (std::size_t i = 0; i < apps.size(); ++i) apps[i] = controlTextSjis(control(kAppFields[i]));
    return apps;
  }

  void showAppFields(const ApplicationList& apps) {
    for (std::size_t i = 0; i < apps.size(); ++i) setControlTextSjis(control(kAppFields[i]), apps[i]);
  }

  void loadAppFields() {
    ApplicationList apps;
    const std::string error = guarded([&] {
      apps = core.loadApplications(core.settings().appPageDestination);
      return std::string();
    });
    if (!error.empty()) message(MessageKind::Error, error);
    showAppFields(apps);
  }

  void changeAppDestination(int newIndex) {
    const int shown = core.settings().appPageDestination;
    if (newIndex == shown) return;
    const std::string error = guarded([&] { return core.saveApplications(shown, appFields()); });
    if (!error.empty()) {
      // The typed command lines are not written anywhere yet: stay on them.
      showIndex(control(IDC_ComboBox3), shown);
      message(MessageKind::Error, error);
      return;
    }
    edit([&](SettingsStore& store) { store.appPageDestination = newIndex; });
    loadAppFields();
  }

  // --- actions ---

  void browse() {
    const std::optional<std::wstring> file = hooks.pickFile(dlg);
    // Cancelling leaves the target as it was, so a set path is never lost.
    if (file && browseTarget) SetWindowTextW(browseTarget, file->c_str());
  }

  void play(int field) {
    const std::string path = controlTextSjis(control(field));
    if (path.empty()) return;
    if (hooks.play) {
      hooks.play(path);
    } else {
      sound.play(core.soundFile(path));
    }
  }

  void addName() {
    HWND numberField = control(IDC_Edit22), nameField = control(IDC_Edit23);
    const NameEntryResult r = makeNameEntry(controlText(numberField), controlText(nameField));
    setControlText(numberField, r.number);
    setControlText(nameField, r.name);
    switch (r.outcome) {
      case NameEntryResult::RefusedDash:
        message(MessageKind::Warning, kNameEntryDashWarning);
        break;
      case NameEntryResult::Added:
        SendMessageW(control(IDC_ListBox1), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(widen(r.entry).c_str()));
        edit([&](SettingsStore& store) { store.nameList.push_back(toSjis(r.entry)); });
        break;
      case NameEntryResult::Empty:
        break;
    }
  }

  void deleteName() {
    HWND list = control(IDC_ListBox1);
    const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) return;
    SendMessageW(list, LB_DELETESTRING, row, 0);
    edit([&](SettingsStore& store) {
      auto& names = store.nameList;
      if (row < static_cast<LRESULT>(names.size())) names.erase(names.begin() + row);
    });
  }

  void open() {
    core.Config();
    if (!IsWindowVisible(dlg)) {
      loadAppFields();
      ShowWindow(dlg, SW_SHOW);
    }
    SetForegroundWindow(dlg);
  }

  bool close() {
    // Typing in the application page's box ends with the close.
    changeAppDestination(indexForText(control(IDC_ComboBox3), boxText(control(IDC_ComboBox3))));
    if (hooks.connectHintChanged) hooks.connectHintChanged(controlText(control(IDC_ComboBox1)));
    // A multi-line field does not tell each change made by program (a
    // paste by message, say): the script is taken as it stands.
    edit([&](SettingsStore& s) { s.script = scriptLines(controlTextSjis(control(IDC_Script))); });
    const SettingsStore edited = core.settings();
    const std::string error = guarded([&] { return core.ConfigClosed(edited, appFields()); });
    showNumbers(core.settings());
    // The interval check may have put "5" in place of the text.
    const std::string& time = core.settings().option.TIME;
    if (controlTextSjis(control(IDC_Edit4)) != time) {
      loading = true;
      setControlTextSjis(control(IDC_Edit4), time);
      loading = false;
    }
    if (!error.empty()) {
      // An interval that is not a number is mended in the dialog; a file
      // that cannot be written (a read-only program folder) would refuse
      // every close, so the dialog closes after saying so.
      if (!settingTextToInt(core.settings().option.TIME)) {
        message(MessageKind::Error, error);
        return false;
      }
      message(MessageKind::Error, error + "\n" + texts::kSettingsNotSaved);
    }
    ShowWindow(dlg, SW_HIDE);
    return true;
  }

  // Enter: a focused push button takes it; the script area makes a new
  // line; an open list takes it; otherwise "追加" on the name page, "OK" on
  // every other page.
  bool enterKey() {
    HWND focus = GetFocus();
    if (!focus || !IsChild(dlg, focus)) return false;
    if (isPushButton(focus)) {
      SendMessageW(focus, BM_CLICK, 0, 0);
      return true;
    }
    if (focus == control(IDC_Script)) return false;
    HWND combo = GetParent(focus);
    if (SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) || SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) {
      return false;
    }
    if (tab == kNames) {
      addName();
    } else {
      close();
    }
    return true;
  }

  void command(int id, int code, HWND from) {
    if (code == EN_CHANGE) {
      if (loading) return;
      if (id == IDC_Edit2) browseTarget = from;
      if (id == IDC_Script) {
        edit([&](SettingsStore& s) { s.script = scriptLines(controlTextSjis(from)); });
        return;
      }
      for (const TextBinding& b : textBindings()) {
        if (b.id == id) edit([&](SettingsStore& s) { b.field(s) = controlTextSjis(from); });
      }
      for (const NumberBinding& b : numberBindings()) {
        if (b.id != id) continue;
        if (const std::optional<int> value = numberIn(controlText(from), b.min, b.max)) {
          edit([&](SettingsStore& s) { b.field(s) = *value; });
        }
      }
      return;
    }
    for (const DestinationBinding& b : destinationBindings()) {
      if (b.id != id) continue;
      const bool app = id == IDC_ComboBox3;
      int index = -1;
      if (code == CBN_SELCHANGE) {
        const LRESULT sel = SendMessageW(from, CB_GETCURSEL, 0, 0);
        index = sel == CB_ERR ? kEntries : indexForText(from, itemText(from, static_cast<int>(sel)));
      } else if (code == CBN_EDITCHANGE && !app) {
        index = indexForText(from, boxText(from));
      } else if (code == CBN_KILLFOCUS && app) {
        // The application page switches sections only for a chosen entry
        // or finished typing, never for each key.
        index = indexForText(from, boxText(from));
      }
      if (index < 0) return;
      if (app) {
        changeAppDestination(index);
      } else {
        edit([&](SettingsStore& s) { b.field(s) = index; });
      }
      return;
    }
    if (code != BN_CLICKED) return;
    for (const BoolBinding& b : boolBindings()) {
      if (b.id == id) {
        const bool on = IsDlgButtonChecked(GetParent(from), id) == BST_CHECKED;
        edit([&](SettingsStore& s) { b.field(s) = on; });
        applyDependentStates();
        return;
      }
    }
    for (const auto& [button, field] : kPlayButtons) {
      if (button == id) return play(field);
    }
    switch (id) {
      case IDC_SoundBrowse:
      case IDC_AppBrowse:
        browse();
        break;
      case IDC_Button4:
        addName();
        break;
      case IDC_Button5:
        deleteName();
        break;
    }
  }

  static Impl* of(HWND window) { return reinterpret_cast<Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

  static INT_PTR CALLBACK mainProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(window, GWLP_USERDATA, lp);
      SetPropW(window, kDialogProperty, reinterpret_cast<HANDLE>(1));
      return TRUE;
    }
    Impl* self = of(window);
    if (!self) return FALSE;
    switch (msg) {
      case WM_COMMAND:
        // Escape (IDCANCEL) does nothing: there is no cancel.
        if (LOWORD(wp) == IDOK) self->close();
        return TRUE;
      case WM_CLOSE:
        self->close();
        return TRUE;
      case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr->idFrom == IDC_PageControl1 && hdr->code == TCN_SELCHANGE) {
          self->showTab(static_cast<int>(SendMessageW(self->tabs, TCM_GETCURSEL, 0, 0)));
        }
        return TRUE;
      }
      case WM_DPICHANGED:
        // The system scales the dialog and gives its controls the dialog's
        // font; the fixed-pitch one follows once that is done.
        PostMessageW(window, kRescaleMessage, 0, 0);
        return FALSE;
      case kRescaleMessage:
        self->applyFixedFont();
        return TRUE;
      case kEnterKeyMessage:
        SetWindowLongPtrW(window, DWLP_MSGRESULT, self->enterKey() ? 1 : 0);
        return TRUE;
      case WM_DESTROY:
        RemovePropW(window, kDialogProperty);
        return FALSE;
    }
    return FALSE;
  }

  static INT_PTR CALLBACK pageProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(window, GWLP_USERDATA, lp);
      return FALSE;
    }
    Impl* self = of(window);
    if (self && msg == WM_COMMAND) {
      self->command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return TRUE;
    }
    return FALSE;
  }

  // A click (not the keyboard) makes a path field the browse target.
  static LRESULT CALLBACK browseFieldProc(HWND field, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                          DWORD_PTR data) {
    if (msg == WM_LBUTTONDOWN) reinterpret_cast<Impl*>(data)->browseTarget = field;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(field, browseFieldProc, 1);
    return DefSubclassProc(field, msg, wp, lp);
  }
};

SettingsDialog::SettingsDialog(EngineCommands& core, HWND owner, Hooks hooks)
    : impl_(std::make_unique<Impl>(core, std::move(hooks))) {
  impl_->dlg =
      createDialogFromResource(IDD_SETTINGS, owner, Impl::mainProc, reinterpret_cast<LPARAM>(impl_.get()));
  if (!impl_->dlg) throw std::runtime_error("the settings dialog's resource is missing");
  impl_->build();
  impl_->loadFromStore();
}

SettingsDialog::~SettingsDialog() {
  if (impl_->dlg) DestroyWindow(impl_->dlg);
  if (impl_->fixedFont) DeleteObject(impl_->fixedFont);
}

void SettingsDialog::loadFromStore() { impl_->loadFromStore(); }
void SettingsDialog::setDestinationList(const std::vector<std::string>& entries) {
  impl_->setDestinationList(entries);
}
void SettingsDialog::openDialog() { impl_->open(); }
bool SettingsDialog::closeDialog() { return impl_->close(); }
HWND SettingsDialog::hwnd() const { return impl_->dlg; }
bool SettingsDialog::isVisible() const { return IsWindowVisible(impl_->dlg) != FALSE; }
int SettingsDialog::currentTab() const { return impl_->tab; }
void SettingsDialog::showTab(int tab) {
  if (tab >= 0 && tab < kTabCount) impl_->showTab(tab);
}
HWND SettingsDialog::control(int id) const { return impl_->control(id); }

}  // namespace tarvik::win32

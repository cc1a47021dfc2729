// TForm3, "Tarvik - 設定": a tab control over one child dialog per page. What
// the dialog does with its controls is the desktop's settings form
// (desktop/settingsform.h); this window finds the controls by their designer
// names (controlids.h) and turns their notifications into the form's events.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <commdlg.h>
#include <uxtheme.h>

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "desktop/passwordplace.h"
#include "desktop/settingsform.h"
#include "desktop/settingsformtable.h"
#include "engine/base/sjis.h"
#include "engine/core/enginecommands.h"
#include "engine/settings/passwordkeeper.h"
#include "win32/dialogs/controlids.h"
#include "win32/dialogs/dialogids.h"
#include "win32/dialogs/dialogs.h"
#include "win32/dialogs/dialogsupport.h"
#include "win32/widetext.h"
#include "win32/winsound.h"

namespace tarvik::win32 {
namespace {

enum Tab { kBasic = 0, kSound, kApps, kTimed, kAdvanced, kNames, kNotify, kTariff, kTabCount };

// The pages' layouts, in the order of the form's pages (their tab captions).
constexpr int kPageDialogs[kTabCount] = {
    IDD_PAGE_BASIC,    IDD_PAGE_SOUND, IDD_PAGE_APPS,   IDD_PAGE_TIMED,
    IDD_PAGE_ADVANCED, IDD_PAGE_NAMES, IDD_PAGE_NOTIFY, IDD_PAGE_TARIFF,
};

using desktop::ControlKind;
using desktop::FormField;

constexpr std::string_view kPasswordField = "Edit14";
constexpr std::string_view kKeyringBox = "CheckBoxKeyring";

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

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

bool isMultiLine(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0; }

bool isComboBox(HWND control) {
  wchar_t cls[16] = {};
  GetClassNameW(control, cls, 16);
  return _wcsicmp(cls, L"ComboBox") == 0;
}

bool isPushButton(HWND control) {
  wchar_t cls[16] = {};
  GetClassNameW(control, cls, 16);
  if (_wcsicmp(cls, L"Button") != 0) return false;
  const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

struct SettingsDialog::Impl final : desktop::SettingsFormView {
  Impl(EngineCommands& c, Hooks h) : core(c), hooks(std::move(h)), form(c, *this) {
    if (!hooks.pickFile) hooks.pickFile = platformFilePicker;
    if (!hooks.message) hooks.message = systemMessageBox();
  }

  EngineCommands& core;
  Hooks hooks;
  WinSound sound;  // the play buttons' player when the front end gives none
  HWND dlg = nullptr;
  HWND tabs = nullptr;
  std::array<HWND, kTabCount> pages{};
  HFONT fixedFont = nullptr;
  int tab = kSound;  // the first opening shows the sound page
  desktop::SettingsForm form;
  PasswordKeeper* keeper = nullptr;  // with none, the keyring box is hidden
  bool built = false;  // the controls report to the form once all are there

  HWND control(int id) const {
    if (HWND c = GetDlgItem(dlg, id)) return c;
    for (HWND page : pages) {
      if (HWND c = page ? GetDlgItem(page, id) : nullptr) return c;
    }
    return nullptr;
  }

  HWND control(std::string_view name) const { return control(controlId(name)); }

  // --- the form's view ---

  std::string text(std::string_view name) const override {
    HWND c = control(name);
    if (!c) return {};
    return isMultiLine(c) ? replaceAll(controlText(c), "\r\n", "\n") : controlText(c);
  }
  void setText(std::string_view name, const std::string& text) override {
    HWND c = control(name);
    if (c) setControlText(c, isMultiLine(c) ? replaceAll(text, "\n", "\r\n") : text);
  }
  bool checked(std::string_view name) const override {
    HWND c = control(name);
    return c && SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void setChecked(std::string_view name, bool on) override {
    SendMessageW(control(name), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void setEnabled(std::string_view name, bool on) override { EnableWindow(control(name), on); }
  void setEntries(std::string_view name, const std::vector<std::string>& entries, int shown) override {
    fillBox(control(name), entries, shown);
  }
  void showEntry(std::string_view name, int index) override { showIndex(control(name), index); }
  void setItems(std::string_view name, const std::vector<std::string>& items) override {
    HWND list = control(name);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) addItem(name, item);
  }
  void addItem(std::string_view name, const std::string& item) override {
    SendMessageW(control(name), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
  }
  void removeItem(std::string_view name, int row) override { SendMessageW(control(name), LB_DELETESTRING, row, 0); }
  int selectedItem(std::string_view name) const override {
    const LRESULT row = SendMessageW(control(name), LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
  }
  bool dialogShown() const override { return IsWindowVisible(dlg) != FALSE; }
  void showDialog() override {
    if (!IsWindowVisible(dlg)) ShowWindow(dlg, SW_SHOW);
    SetForegroundWindow(dlg);
  }
  void hideDialog() override { ShowWindow(dlg, SW_HIDE); }
  void showMessage(desktop::MessageKind kind, const std::string& text) override {
    hooks.message(dlg, kind == desktop::MessageKind::Warning ? MessageKind::Warning : MessageKind::Error, text);
  }
  std::optional<std::string> pickFile() override {
    const std::optional<std::wstring> file = hooks.pickFile(dlg);
    if (!file) return std::nullopt;
    return narrow(*file);
  }
  void play(const std::string& sjisSetting) override {
    if (hooks.play) {
      hooks.play(sjisSetting);
    } else {
      sound.play(core.soundFile(sjisSetting));
    }
  }
  void monitoringOffChanged(bool off) override {
    if (hooks.monitoringOffChanged) hooks.monitoringOffChanged(off);
  }
  void stayOnTopChanged(bool onTop) override {
    if (hooks.stayOnTopChanged) hooks.stayOnTopChanged(onTop);
  }
  void connectHintChanged(const std::string& text) override {
    if (hooks.connectHintChanged) hooks.connectHintChanged(text);
  }

  // --- building ---

  void build() {
    tabs = GetDlgItem(dlg, IDC_PageControl1);
    // Eight captions in one row: half the usual room beside each.
    SendMessageW(tabs, TCM_SETPADDING, 0, MAKELPARAM(3, 3));
    for (int i = 0; i < kTabCount; ++i) {
      std::wstring title = widen(desktop::settingsFormPages()[static_cast<std::size_t>(i)].caption);
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
      pages[i] = createDialogFromResource(kPageDialogs[i], dlg, pageProc, reinterpret_cast<LPARAM>(this));
      EnableThemeDialogTexture(pages[i], ETDT_ENABLETAB);
      // After the tab control in the Tab order, before OK.
      SetWindowPos(pages[i], after, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOACTIVATE);
      after = pages[i];
    }
    SendMessageW(control(IDC_Edit14), EM_SETPASSWORDCHAR, L'*', 0);
    // Captions worded for Windows (the keyring is the Credential Manager here).
    for (const desktop::PlatformCaption& caption : desktop::platformCaptions())
      SetWindowTextW(control(caption.control), widen(caption.windows).c_str());
    applyFixedFont();
    for (const FormField& field : desktop::settingsFormFields()) {
      if (field.browse != desktop::BrowseRole::None)
        SetWindowSubclass(control(field.control), browseFieldProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    std::vector<std::string> empty(kEntries);
    for (const FormField& field : destinationBoxes()) fillBox(control(field.control), empty, 0);
    showTab(tab);
    built = true;
  }

  // The destination entries' columns line up in the fixed-pitch face, at
  // the scale of the dialog's screen.
  void applyFixedFont() {
    HFONT old = fixedFont;
    fixedFont = createFont(dlg, japaneseFixedFace(), 9);
    for (const FormField& field : destinationBoxes()) {
      SendMessageW(control(field.control), WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
    }
    if (old) DeleteObject(old);
  }

  // --- destination boxes ---

  static std::vector<FormField> destinationBoxes() {
    std::vector<FormField> boxes;
    for (const FormField& field : desktop::settingsFormFields()) {
      if (field.kind == ControlKind::Destination || field.kind == ControlKind::AppDestination)
        boxes.push_back(field);
    }
    return boxes;
  }

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

  bool close() {
    const desktop::CloseOutcome outcome = form.close();
    if (outcome == desktop::CloseOutcome::Saved && keeper) {
      desktop::keepSavedPassword(core, *keeper, {}, [this](const std::string& problem) {
        // The store refused the password: the box shows where it went.
        setChecked(kKeyringBox, core.settings().secret.KEYRING);
        showMessage(desktop::MessageKind::Error, problem);
      });
    }
    return outcome != desktop::CloseOutcome::KeptOpen;
  }

  // A password kept in the store that could not be read shows as there but
  // unknown; its place stays as it is until a new one is typed, and the box
  // cannot be changed meanwhile.
  void showPasswordState() {
    const bool unread = passwordUnread(core.settings());
    const std::wstring cue = unread ? widen(desktop::kPasswordUnreadCue) : std::wstring();
    SendMessageW(control(kPasswordField), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue.c_str()));
    EnableWindow(control(kKeyringBox), !unread);
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
      form.addName();
    } else {
      close();
    }
    return true;
  }

  void command(int id, int code, HWND from) {
    const std::string_view name = controlName(id);
    const FormField* field = desktop::formField(name);
    if (!built || name.empty()) return;
    if (code == EN_CHANGE) {
      form.edited(name, text(name));
      if (name == kPasswordField) showPasswordState();
      return;
    }
    if (isComboBox(from)) {
      if (code == CBN_SELCHANGE) {
        // The box's text is not the chosen entry's yet.
        const LRESULT sel = SendMessageW(from, CB_GETCURSEL, 0, 0);
        if (sel == CB_ERR) return;
        const std::string entry = narrow(itemText(from, static_cast<int>(sel)));
        form.edited(name, entry);
        form.chosen(name, entry);
      } else if (code == CBN_EDITCHANGE) {
        form.edited(name, text(name));
      } else if (code == CBN_KILLFOCUS) {
        form.chosen(name, text(name));  // the typing is finished
      }
      return;
    }
    if (code != BN_CLICKED) return;
    if (field && field->kind == ControlKind::Check) return form.toggled(name, checked(name));
    form.clicked(name);
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
    if (msg == WM_LBUTTONDOWN) reinterpret_cast<Impl*>(data)->form.pressed(controlName(GetDlgCtrlID(field)));
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
  setPasswordKeeper(nullptr);
  loadFromStore();
}

SettingsDialog::~SettingsDialog() {
  if (impl_->dlg) DestroyWindow(impl_->dlg);
  if (impl_->fixedFont) DeleteObject(impl_->fixedFont);
}

void SettingsDialog::loadFromStore() {
  impl_->form.load();
  impl_->showPasswordState();
}

void SettingsDialog::showPassword() {
  // The password as it stands already: nothing to write back.
  impl_->built = false;
  impl_->setText(kPasswordField, toUtf8(impl_->core.settings().tarvik.PASS));
  impl_->built = true;
  impl_->showPasswordState();
}

void SettingsDialog::setPasswordKeeper(PasswordKeeper* keeper) {
  impl_->keeper = keeper;
  ShowWindow(impl_->control(kKeyringBox), keeper ? SW_SHOWNA : SW_HIDE);
}
void SettingsDialog::setDestinationList(const std::vector<std::string>& entries) {
  impl_->form.setDestinationList(entries);
}
void SettingsDialog::openDialog() { impl_->form.open(); }
bool SettingsDialog::closeDialog() { return impl_->close(); }
HWND SettingsDialog::hwnd() const { return impl_->dlg; }
bool SettingsDialog::isVisible() const { return IsWindowVisible(impl_->dlg) != FALSE; }
int SettingsDialog::currentTab() const { return impl_->tab; }
void SettingsDialog::showTab(int tab) {
  if (tab >= 0 && tab < kTabCount) impl_->showTab(tab);
}
HWND SettingsDialog::control(int id) const { return impl_->control(id); }

}  // namespace tarvik::win32

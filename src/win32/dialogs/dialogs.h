#pragma once
// The Windows program's dialogs and auxiliary windows, for the desktop front
// end: the settings dialog (TForm3), the first-run dialog (TForm8), the ID
// and password dialog (TForm7), the details window (TForm5) and the about
// box (TForm4). Layouts come from dialogs.rc (resource ids 2000-3999).
//
// How the desktop front end uses them:
// - Create each object once, after the main window (its HWND is the owner)
//   and before the core's first FormShow; keep them for the whole run.
// - Pass every message of the thread's loop through dispatchDialogMessage()
//   before TranslateMessage/DispatchMessage: it gives the modeless windows
//   their Tab, Enter and Escape keys.
// - Texts: UTF-8 where they come from the View port, Shift-JIS where they
//   come from the settings store (said at each function).
// None of the functions below blocks except askRouterAddress(): windows that
// are modal for the user disable the program's other windows and answer
// through the engine or a callback, so socket events and timer ticks go on.
//
// The signatures below are kept stable; additions come at the end of each
// class.

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarvik {
class EngineCommands;
class PasswordKeeper;
class SettingsFiles;
struct SettingsStore;
}  // namespace tarvik

namespace tarvik::win32 {

// ---------------------------------------------------------------------------
// Messages

enum class MessageKind { Error, Warning, Information };

// Shows text (UTF-8) in a box titled "Tarvik" with an OK button over owner.
// The dialogs show every message through one of these; tests put a recorder
// in its place so that no box blocks them.
using MessageFunction = std::function<void(HWND owner, MessageKind kind, const std::string& text)>;

// MessageBoxW, modal to owner (the icon follows the kind).
MessageFunction systemMessageBox();

// For the thread's message loop: true when msg was a key for one of the
// program's dialog windows and has been handled (then do not translate or
// dispatch it).
bool dispatchDialogMessage(MSG& msg);

// ---------------------------------------------------------------------------
// "Tarvik - 設定": modeless, bound live to the engine's settings (every change
// of a control goes to EngineCommands::applySettings at once), no cancel:
// every way of closing saves through EngineCommands::ConfigClosed; a failed
// save shows its message and keeps the dialog open.
class SettingsDialog {
 public:
  struct Hooks {
    // The play buttons: the file named as the settings hold it (Shift-JIS).
    // Empty: PlaySoundW of EngineCommands::soundFile(), asynchronous.
    std::function<void(const std::string& sjisSetting)> play;
    // The browse buttons' file-open dialog: the chosen path, nothing when
    // cancelled. Empty: GetOpenFileNameW.
    std::function<std::optional<std::wstring>(HWND owner)> pickFile;
    // Empty: systemMessageBox().
    MessageFunction message;
    // "監視しない" ticked or not (also right after loadFromStore()): the main
    // window's B1 and B2 fields are enabled exactly when it is not.
    std::function<void(bool monitoringOff)> monitoringOffChanged;
    // "常に手前に表示" ticked or not (also right after loadFromStore()): the
    // main window stays on top exactly when it is.
    std::function<void(bool onTop)> stayOnTopChanged;
    // At every close: the connect button's hint becomes the default
    // destination's entry (UTF-8).
    std::function<void(const std::string& text)> connectHintChanged;
  };

  // Created hidden. owner: the main window (may be null).
  SettingsDialog(EngineCommands& core, HWND owner, Hooks hooks = {});
  ~SettingsDialog();
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  // Every control from the engine's settings (after the start-up load).
  void loadFromStore();
  // The password field from the engine's settings, once the secret store
  // has answered at start.
  void showPassword();
  // The box "キーリングに保存" is shown with a keeper, which each save then
  // asks to put the password where the box says; null hides it.
  void setPasswordKeeper(PasswordKeeper* keeper);
  // The sixteen destination entries (UTF-8, View::setDestinationList); each
  // of the four destination boxes shows the entry at its setting's index.
  void setDestinationList(const std::vector<std::string>& entries);

  // The menu actions "Tarvikの設定" and "設定": EngineCommands::Config(), then
  // show (loading the application page) or bring to the front.
  void openDialog();
  // OK or the close box: true when saved and hidden.
  bool closeDialog();

  HWND hwnd() const;
  bool isVisible() const;
  // The tab shown (0 基本設定 .. 5 ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ, 6 通知) and switching tabs.
  int currentTab() const;
  void showTab(int tab);
  // A control of any page by its id (dialogids.h), for the front end's and
  // the tests' needs; null when there is none.
  HWND control(int id) const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------------------
// "Tarvik - セットアップ": the router's address on the first start.

// Runs the dialog modally (its own message loop) over owner: the field's
// text exactly as typed (UTF-8) on OK, nothing on the close box.
std::optional<std::string> askRouterAddress(HWND owner);

// The start-up load's question (the Qt program's FirstRunDialog::askAndKeep):
// a confirmed address becomes [Tarvik] SOHOIP in store and in Tarvik.ini at
// once. Returns the write error (UTF-8) for the user; empty when the file was
// written or nothing was confirmed.
std::string askRouterAddressAndKeep(SettingsStore& store, const SettingsFiles& files, HWND owner);

// The same dialog without a loop of its own, for tests: created shown; done
// is called once, with the address on OK or nothing on the close box, and
// the dialog is destroyed after it.
class FirstRunDialog {
 public:
  FirstRunDialog(HWND owner, std::function<void(std::optional<std::string>)> done);
  ~FirstRunDialog();
  FirstRunDialog(const FirstRunDialog&) = delete;
  FirstRunDialog& operator=(const FirstRunDialog&) = delete;
  HWND hwnd() const;  // null once done

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------------------
// TForm7, "Tarvik": the user ID and password for one call (the Prompter's
// askCredentials). OK answers EngineCommands::CredentialsEntered(id, password)
// in Shift-JIS; ｷｬﾝｾﾙ, Escape and the close box CredentialsCancelled().
class CredentialsDialog {
 public:
  CredentialsDialog(EngineCommands& core, HWND owner);
  ~CredentialsDialog();
  CredentialsDialog(const CredentialsDialog&) = delete;
  CredentialsDialog& operator=(const CredentialsDialog&) = delete;

  // Empties both fields, puts lastUserId (Shift-JIS, as [OPTION] LAST) into
  // the ID field, and shows the dialog centred, modal for the user (the
  // program's other windows are disabled until it closes); returns at once.
  // While it is open a second ask only brings it to the front.
  void ask(const std::string& sjisLastUserId);

  HWND hwnd() const;
  bool isVisible() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------------------
// TForm5, "Tarvik - 詳細": the transcript (Memo1) and the six report buttons
// (EngineCommands::ReportButtonClick). Resizable; closing only hides it.
class DetailsWindow {
 public:
  struct Geometry {
    // The whole window: its place in screen pixels, its size in pixels at
    // 100 % (scaled for the window's screen).
    int left = 0, top = 0, width = 0, height = 0;
  };

  // Created hidden. owner: may be null (a window of its own on the desktop).
  DetailsWindow(EngineCommands& core, HWND owner);
  ~DetailsWindow();
  DetailsWindow(const DetailsWindow&) = delete;
  DetailsWindow& operator=(const DetailsWindow&) = delete;

  void appendLine(const std::string& utf8Line);  // View::appendDetails
  void clearText();                              // View::clearDetails
  std::string text() const;                      // UTF-8, lines joined by "\n"

  // [OPTION] left2, top2, Width2, Height2 (after the start-up load).
  void applyGeometry(const Geometry& g);
  // What goes back into WindowPlacement's left2/top2/Width2/Height2.
  Geometry savedGeometry() const;

  // 詳細 (main window button, tray menu item): show and bring to the front.
  void show();
  HWND hwnd() const;
  bool isVisible() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------------------
// TForm4, "Tarvik - About": the picture, "Version 1.46" and the router's
// banner.
class AboutBox {
 public:
  // picture: the bitmap file, read afresh at every showing; when it cannot
  // be read the box opens without it.
  AboutBox(HWND owner, std::filesystem::path picture);
  ~AboutBox();
  AboutBox(const AboutBox&) = delete;
  AboutBox& operator=(const AboutBox&) = delete;

  void setRouterVersion(const std::string& utf8Banner);  // View::setRouterVersion
  std::string routerVersion() const;
  // ﾊﾞｰｼﾞｮﾝ情報: shows the box modal for the user and returns at once; OK or
  // Enter closes it.
  void showModal();
  bool hasPicture() const;  // after showModal(): the picture was read
  HWND hwnd() const;
  bool isVisible() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tarvik::win32

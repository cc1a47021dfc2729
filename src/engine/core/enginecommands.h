#pragma once
// Everything a front end may ask of the engine: the user's actions, the
// timer and socket events, settings changes and the state the windows show.
// The handlers are named after the events they answer. TarvikCore answers
// them; widget tests put a recording stand-in behind the same interface.
//
// Adding a user action: its handler here and in TarvikCore, then one line
// in each front end that offers it.

#include <string>
#include <string_view>
#include <vector>

#include "engine/monitor/channelstate.h"
#include "engine/ports/transport.h"
#include "engine/ports/view.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {

enum class ReportButton { Charges, ConnectionLog, Ppp, Analog, Mail, PhsMail };

// Where the windows stand when the main window is asked to close.
struct WindowPlacement {
  int left = 0;
  int top = 0;
  bool parked = false;  // the main window's top is -300: its top is not taken
  // The details window.
  int left2 = 0;
  int top2 = 0;
  int Width2 = 0;
  int Height2 = 0;
};

class EngineCommands {
 public:
  virtual ~EngineCommands() = default;

  // --- settings ---
  virtual const SettingsStore& settings() const = 0;
  virtual const SettingsFiles& files() const = 0;
  // The start-up load of all three files; throws what the file layer throws.
  virtual void loadSettings() = 0;
  // The settings dialog (or the first-run dialog) changed values: they are
  // in force at once. The router the exchanges go to follows at ConfigClosed.
  virtual void applySettings(const SettingsStore& edited) = 0;
  // The application lists of one destination, as the settings dialog's
  // application page shows and saves them. Save errors of any kind come
  // back as text; nothing is thrown.
  virtual ApplicationList loadApplications(int destination) const = 0;
  virtual std::string saveApplications(int destination, const ApplicationList& apps) = 0;

  // --- start-up and exit ---
  // Program arguments without the program options (--headless, ...).
  virtual void FormCreate(const std::vector<std::string>& arguments) = 0;
  // Run-state reset, status "待機中", start-up chain (+ clock), first
  // exchange, poll timer. Settings must be loaded by then.
  virtual void FormShow() = 0;
  // Saves the window state and asks the disconnect question when needed.
  // Returns true when the window may close now.
  virtual bool FormCloseQuery(const WindowPlacement& placement) = 0;
  virtual void DisconnectQuestionAnswered(bool ok) = 0;
  // Tear-down: closes the last exchange's socket, stops the timers.
  virtual void FormClose() = 0;
  // The session ends (logout, shutdown, SIGTERM): the window state is saved
  // as a close request saves it, without the disconnect question and without
  // a message box, then the tear-down of FormClose. Once only.
  virtual void EndSession(const WindowPlacement& placement) = 0;

  // --- socket events (from the Transport adapter) ---
  virtual void AsyncSock1Connect(SocketId socket) = 0;
  virtual void AsyncSock1Receive(SocketId socket, std::string_view bytes) = 0;
  virtual void AsyncSock1Close(SocketId socket) = 0;  // closed by the peer, or failed

  // --- timers ---
  virtual void Timer1Timer() = 0;
  virtual void Timer2Timer() = 0;
  virtual void TIMEMANTimer() = 0;
  virtual void ExchangeWatchdogTimer() = 0;

  // --- user actions ---
  virtual void ConnectBtnClick() = 0;
  virtual void ConnectFromMenu(int destination) = 0;
  virtual void DiscBtnClick() = 0;
  virtual void B1DiscClick() = 0;
  virtual void B2DiscClick() = 0;
  virtual void Edit1Click() = 0;
  virtual void Edit2Click() = 0;
  virtual void JIGENClick() = 0;
  // The settings dialog opens: the script is suspended.
  virtual void Config() = 0;
  // The settings dialog's OK: the dialog save of edited with the shown
  // application lists. Empty on success (the dialog closes, the script goes
  // on, the exchanges go to the new router address); otherwise the error
  // text. With an interval that is not an integer the dialog stays open and
  // nothing else follows; a file that could not be written is told, and
  // the rest goes on as after a save (the dialog closes). The interval
  // check's "5" is in settings() either way. Nothing is thrown: a failure
  // of any kind comes back as its text, as a file that could not be written.
  virtual std::string ConfigClosed(const SettingsStore& edited, const ApplicationList& shownApps) = 0;
  virtual void CredentialsEntered(const std::string& userId, const std::string& password) = 0;  // Shift-JIS
  virtual void CredentialsCancelled() = 0;
  virtual void ReportButtonClick(ReportButton button) = 0;  // details window's six buttons
  virtual void ExecWWW(int page) = 0;

  // Test-only poll interval in milliseconds (the --poll-ms option), in
  // place of [OPTION] TIME; 0 or less restores the setting.
  virtual void setPollIntervalOverrideMs(int ms) = 0;

  // --- state for the front ends ---
  virtual bool jigenChecked() const = 0;
  virtual const ChannelState& channel(Channel ch) const = 0;
  virtual const std::string& routerVersion() const = 0;  // Shift-JIS banner line
  virtual int routerPageBase() const = 0;
  // Router web page address for a page number 1..11 (the page base applied).
  virtual std::string routerPageAddress(int page) const = 0;
  virtual const std::vector<std::string>& destinationList() const = 0;  // sixteen entries
  virtual bool exchangeIdle() const = 0;
  // The file to play for a sound setting (Shift-JIS; the settings dialog's
  // preview buttons), found as the engine finds it. Empty: silence.
  virtual std::string soundFile(std::string_view sjisSetting) const = 0;
};

}  // namespace tarvik

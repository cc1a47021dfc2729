#pragma once
// The program's core: all state and every decision, no Qt, no sockets, no
// windows. The shells (desktop and headless) call the handlers below, named
// after the events they answer, and the core acts through its ports.
//
// Public handler names are shared with the shells; add to them, do not
// rename them.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/channelstate.h"
#include "ports/browser.h"
#include "ports/clock.h"
#include "ports/launcher.h"
#include "ports/prompter.h"
#include "ports/sound.h"
#include "ports/timers.h"
#include "ports/transport.h"
#include "ports/view.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"

namespace tarvik {

struct CorePorts {
  View& view;
  Transport& transport;
  Timers& timers;
  Sound& sound;
  Launcher& launcher;
  Browser& browser;
  Clock& clock;
  Prompter& prompter;
};

enum class ReportButton { Charges, ConnectionLog, Ppp, Analog, Mail, PhsMail };

class TarvikCore {
 public:
  TarvikCore(CorePorts ports, SettingsFiles files);
  ~TarvikCore();
  TarvikCore(const TarvikCore&) = delete;
  TarvikCore& operator=(const TarvikCore&) = delete;

  // Settings, loaded by the shell (files().loadAll) before FormShow; the
  // settings dialog edits them in place.
  SettingsStore& settings();
  const SettingsFiles& files() const;

  // --- start-up and exit ---
  // Program arguments without the program options (--headless, ...).
  void FormCreate(const std::vector<std::string>& arguments);
  // Run-state reset, status "待機中", start-up chain (+ clock), first
  // exchange, poll timer. Settings must be loaded by then.
  void FormShow();
  // Saves the window state (the shell has put the geometry into settings()
  // beforehand; parked = window top is -300) and asks the disconnect question
  // when needed. Returns true when the window may close now.
  bool FormCloseQuery(bool parked);
  void DisconnectQuestionAnswered(bool ok);
  // Tear-down: closes the last exchange's socket, stops the poll timer.
  void FormClose();
  // The session ends (logout, shutdown, SIGTERM): the window state is saved
  // as a close request saves it, without the disconnect question and without
  // a message box, then the tear-down of FormClose. Once only.
  void EndSession(bool parked);

  // --- socket events (from the Transport adapter) ---
  void AsyncSock1Connect(SocketId socket);
  void AsyncSock1Receive(SocketId socket, std::string_view bytes);
  void AsyncSock1Close(SocketId socket);  // closed by the peer, or failed

  // --- timers ---
  void Timer1Timer();
  void Timer2Timer();
  void TIMEMANTimer();
  void ExchangeWatchdogTimer();

  // --- user actions ---
  void ConnectBtnClick();
  void ConnectFromMenu(int destination);
  void DiscBtnClick();
  void B1DiscClick();
  void B2DiscClick();
  void Edit1Click();
  void Edit2Click();
  void JIGENClick();
  bool jigenChecked() const;
  void Config();        // settings dialog opens: script suspended
  void ConfigClosed();  // settings dialog closed (after its save)
  void CredentialsEntered(const std::string& userId, const std::string& password);  // Shift-JIS
  void CredentialsCancelled();
  void ReportButtonClick(ReportButton button);  // details window's six buttons
  // Router web page address for a page number 1..11 (the page base applied).
  std::string routerPageAddress(int page) const;
  void ExecWWW(int page);

  // Test-only poll interval in milliseconds (the headless program's
  // --poll-ms), in place of [OPTION] TIME; 0 or less restores the setting.
  void setPollIntervalOverrideMs(int ms);
  // The folders the program's data was installed in, in the order they are
  // searched; a relative sound name not found in the current directory or
  // the config directory is looked for there.
  void setDataDirectories(std::vector<std::filesystem::path> dirs);
  // The file to play for a sound setting (Shift-JIS; the settings dialog's
  // preview buttons), found as the core finds it. Empty: silence.
  std::string soundFile(std::string_view sjisSetting) const;

  // --- state for the shells ---
  const ChannelState& channel(Channel ch) const;
  const std::string& routerVersion() const;  // Shift-JIS banner line
  int routerPageBase() const;
  const std::vector<std::string>& destinationList() const;  // sixteen entries
  bool exchangeIdle() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tarvik

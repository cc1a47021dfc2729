#pragma once
// Everything a front end may ask of the engine: the user's actions, the
// timer and socket events, settings changes and the state the windows show.
// The handlers are named after the events they answer. TarvikCore answers
// them; widget tests put a recording stand-in behind the same interface.
//
// The commands are one list (TARVIK_ENGINE_COMMANDS); the settings calls
// and the queries are declared as usual.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/monitor/channelstate.h"
#include "engine/ports/timers.h"
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

// When a command may run; TarvikCore checks it in one place, before the
// handler (commandgate.h).
enum class CommandGuard {
  Start,  // from the start, also before the settings are loaded
  User,   // once the settings are in, until FormClose; a failure is shown
  Event,  // once the settings are in, until FormClose; a failure is dropped
  Always  // whenever it comes (why: at the command)
};

// Every command a front end gives the engine, each once:
//   X(guard, result, name, (parameters), (arguments))
// The engine's interface, TarvikCore's handlers and the recording stand-in
// of the widget tests are all made from this list.
//
// Adding a user action: its line here, its handler in TarvikCore::State,
// then one line in each front end that offers it.
// clang-format off
#define TARVIK_ENGINE_COMMANDS(X) \
  /* --- start-up and exit --- */ \
  /* Program arguments without the program options (--headless, ...); given before the settings */ \
  /* are loaded. */ \
  X(Start, void, FormCreate, (const std::vector<std::string>& arguments), (arguments)) \
  /* Run-state reset, status "待機中", start-up chain (+ clock), first exchange, poll timer. */ \
  X(User, void, FormShow, (), ()) \
  /* Another start of the program handed over its action words (as FormCreate's): acted on now, */ \
  /* or with the start's own words at the first exchange when that has not come up yet. */ \
  X(User, void, SecondStart, (const std::vector<std::string>& arguments), (arguments)) \
  /* Saves the window state and asks the disconnect question when needed. Returns true when the */ \
  /* window may close now (also when the engine cannot answer: nothing holds the window then). */ \
  X(User, bool, FormCloseQuery, (const WindowPlacement& placement), (placement)) \
  X(User, void, DisconnectQuestionAnswered, (bool ok), (ok)) \
  /* Tear-down: closes the last exchange's socket, stops the timers. Nothing runs after it. */ \
  X(Event, void, FormClose, (), ()) \
  /* The session ends (logout, shutdown, SIGTERM): the window state is saved as a close request */ \
  /* saves it, without the disconnect question and without a message box, then the tear-down of */ \
  /* FormClose. Once only. */ \
  X(Event, void, EndSession, (const WindowPlacement& placement), (placement)) \
  /* --- socket events (from the Transport adapter) --- */ \
  X(Event, void, AsyncSock1Connect, (SocketId socket), (socket)) \
  X(Event, void, AsyncSock1Receive, (SocketId socket, std::string_view bytes), (socket, bytes)) \
  /* Closed by the peer, or failed. */ \
  X(Event, void, AsyncSock1Close, (SocketId socket), (socket)) \
  /* --- timers --- */ \
  X(Event, void, Timer1Timer, (), ()) \
  X(Event, void, Timer2Timer, (), ()) \
  X(Event, void, TIMEMANTimer, (), ()) \
  X(Event, void, ExchangeWatchdogTimer, (), ()) \
  /* --- user actions --- */ \
  X(User, void, ConnectBtnClick, (), ()) \
  X(User, void, ConnectFromMenu, (int destination), (destination)) \
  X(User, void, DiscBtnClick, (), ()) \
  X(User, void, B1DiscClick, (), ()) \
  X(User, void, B2DiscClick, (), ()) \
  X(User, void, Edit1Click, (), ()) \
  X(User, void, Edit2Click, (), ()) \
  X(User, void, JIGENClick, (), ()) \
  /* The settings dialog opens: the script is suspended. */ \
  X(User, void, Config, (), ()) \
  /* Shift-JIS. */ \
  X(User, void, CredentialsEntered, (const std::string& userId, const std::string& password), \
    (userId, password)) \
  X(User, void, CredentialsCancelled, (), ()) \
  /* The details window's six buttons. */ \
  X(User, void, ReportButtonClick, (ReportButton button), (button)) \
  X(User, void, ExecWWW, (int page), (page)) \
  /* Test-only poll interval in milliseconds (the --poll-ms option), in place of [OPTION] TIME; 0 */ \
  /* or less restores the setting. Always: an option of the program, not an event of its run; it */ \
  /* is given once the settings are in and only restarts a running poll tick. */ \
  X(Always, void, setPollIntervalOverrideMs, (int ms), (ms))
// clang-format on

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

  // Every command of the list below (TARVIK_ENGINE_COMMANDS).
#define TARVIK_DECLARE_COMMAND(guard, result, name, parameters, arguments) virtual result name parameters = 0;
  TARVIK_ENGINE_COMMANDS(TARVIK_DECLARE_COMMAND)
#undef TARVIK_DECLARE_COMMAND

  // --- events as the front ends' adapters report them ---
  // A timer's tick, to the handler named after the timer.
  void timerFired(TimerId id);
  // The socket events a transport reports, to the handlers named after
  // them, on the engine that `engine` gives at the time (none: dropped). A
  // transport is made before the engine that takes it as a port, so it is
  // handed the way to the engine rather than the engine itself.
  static TransportEvents transportEventsTo(std::function<EngineCommands*()> engine);

  // The settings dialog's OK: the dialog save of edited with the shown
  // application lists. Empty on success (the dialog closes, the script goes
  // on, the exchanges go to the new router address); otherwise the error
  // text. With an interval that is not an integer the dialog stays open and
  // nothing else follows; a file that could not be written is told, and
  // the rest goes on as after a save (the dialog closes). The interval
  // check's "5" is in settings() either way. Nothing is thrown: a failure
  // of any kind comes back as its text, as a file that could not be written.
  virtual std::string ConfigClosed(const SettingsStore& edited, const ApplicationList& shownApps) = 0;

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

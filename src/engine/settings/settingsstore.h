#pragma once
// The in-memory settings: one field per INI key, plus the name list and the
// router script. All texts are Shift-JIS bytes, as stored on disk.
// A default-constructed store holds every key's default value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/settings/applicationlist.h"

namespace tarvik {

struct SettingsStore {
  SettingsStore();

  // [Tarvik]
  struct TarvikSection {
    std::string SOHOIP;  // router address; empty -> first-run dialog
    std::string PASS;    // console password, decoded (clear) in memory
    int DEFAULT = 0;     // default destination 0..15 (16: no match)
    int AUTO = 0;        // timed-connect destination
    int REDIAL = 0;      // alternate destination
    int PORT = 23;       // console port; not shown in the dialog
  } tarvik;

  // [OPTION]
  struct OptionSection {
    std::string TIME = "5";  // poll interval in seconds (text)
    std::string LOG = "mn128soho.log";
    std::string LAST;    // last per-call user ID
    int B1 = 0, B2 = 0;  // DisplayIndex of each channel
    int left = 350, top = 0;
    int left2 = 438, top2 = 300, Width2 = 438, Height2 = 279;
    bool SIZE = false, ONSCREEN = false, NEXT = false;
    // The dialog's check boxes; their INI keys ("CHECK4".."CHECK19") are
    // named in the settings key table.
    bool restoreOnConnect = false;        // bring the main window back on a connection
    bool parkOnDisconnect = false;        // move it out of sight on a disconnection
    bool showConnectionTime = true;       // channel display rotation: field 1
    bool showIpAddress = true;            // field 2
    bool showConnectionMode = true;       // field 3
    bool showPhoneNumber = true;          // field 4
    bool showLineUsage = true;            // field 5
    bool showTransferRate = true;         // field 6
    bool showChannelTrayIcons = false;    // B1/B2 icons in the tray while in use
    bool monitoringOff = false;           // no periodic status poll
    bool setRouterClock = false;          // set the router's clock at start-up
    bool startupConnect = false;          // started in the flat-rate night: dial AUTO
    bool disconnectOnExit = false;        // quitting with a channel in use asks and disconnects
    bool askCredentialsEachCall = false;  // user ID and password asked at every dial
    bool saveConnectionLog = false;       // fetch the router's log into the LOG file
    bool runRouterScript = false;         // run the router script (Tarvik.spt)
  } option;

  // [SOUND] (there is no key 4)
  struct SoundSection {
    std::string s1, s2, s3, s5, s6, s7, s8;  // keys "1".."8"
    std::string NAMESOUND;
  } sound;

  // [KANJI]
  struct KanjiSection {
    std::string CODE;
  } kanji;

  // [TIME]
  struct TimeSection {
    std::string ON = "23:01", OFF = "7:58", WARNING = "7:55";
  } time;

  // [RD]
  struct RdSection {
    std::string count = "0";  // key "0": redial count (text)
  } rd;

  // [SECRET]
  struct SecretSection {
    // The password is kept in the desktop's secret store; PASS is written
    // empty. Written only once the user has chosen the store.
    bool KEYRING = false;
    // Not on disk. The file says the store keeps the password and it has
    // not been read from there: PASS holds what the file had, which is not
    // the user's password. As long as PASS still holds that value, neither
    // PASS nor KEYRING is written anywhere (see passwordUnread).
    std::optional<std::string> unreadAs;
    // Not on disk: the password the store has confirmed it holds, read from
    // it or saved into it by this run.
    std::optional<std::string> held;
  } secret;

  // [NOTIFY]: which desktop notifications are shown. A file without the
  // section gets these defaults: calls and failures on, the rest off.
  struct NotifySection {
    bool INCOMING = true;       // a call rings: name and number
    bool CONNECTED = false;     // a connection is up: destination and address
    bool DISCONNECTED = false;  // it ended: minutes online
    bool FAILED = true;         // a dial failed or met a busy line; the router cannot be used
    bool ROUTER = false;        // the router stopped or started answering
  } notify;

  // [JOURNAL]: Tarvik-journal.csv is put aside past SIZE kilobytes.
  struct JournalSection {
    int SIZE = 1024;
  } journal;

  // [TARIFF]: what a call costs, for the estimate of the usage view. The
  // line is charged per started unit of UNIT seconds at YEN yen; within
  // the flat-rate period, from FLATFROM o'clock to FLATTO o'clock, calls to
  // the destinations of FLATDEST cost nothing.
  struct TariffSection {
    int UNIT = 180;
    int YEN = 10;
    int FLATFROM = 23, FLATTO = 8;
    std::string FLATDEST;  // destination numbers 0..15, comma separated
  } tariff;

  // Tarvik.lst and Tarvik.spt, one entry per line.
  std::vector<std::string> nameList;
  std::vector<std::string> script;

  // Not on disk: the destination (0..16) whose application lists the
  // settings dialog's application page shows; 0 at start.
  int appPageDestination = 0;
};

// The number in a setting kept as text ([OPTION] TIME, [RD] 0): decimal,
// optional leading blanks and sign, within 32 bits; nullopt otherwise.
std::optional<int> settingTextToInt(std::string_view text);

// The poll intervals the settings dialog accepts, and the one it puts in
// place of any other number.
constexpr int kMinPollInterval = 2;
constexpr int kMaxPollInterval = 58;
constexpr int kDefaultPollInterval = 5;

// The poll interval in seconds: [OPTION] TIME when it is an integer from 2
// to 58 (what the settings dialog allows), else 5. A hand-edited value
// stays in the store as it is; only its use falls back.
int pollIntervalSeconds(const SettingsStore& store);

// What the [TARIFF] numbers may be; a value outside falls back to its
// default.
constexpr int kMinTariffUnit = 1, kMaxTariffUnit = 86400;  // seconds
constexpr int kMinTariffYen = 0, kMaxTariffYen = 100000;
constexpr int kMinTariffHour = 0, kMaxTariffHour = 23;

// The file says the password is in the secret store, and it is not known:
// the store could not be read and nobody has typed a new one since.
inline bool passwordUnread(const SettingsStore& store) {
  return store.secret.unreadAs && *store.secret.unreadAs == store.tarvik.PASS;
}

// The password is to be kept in the secret store, and the store has
// confirmed it holds this very password: PASS is written empty.
inline bool passwordInStore(const SettingsStore& store) {
  return store.secret.KEYRING && store.secret.held == store.tarvik.PASS;
}

// The size in bytes past which the call journal is put aside.
inline std::uintmax_t journalMaxBytes(const SettingsStore& store) {
  return static_cast<std::uintmax_t>(store.journal.SIZE) * 1024;
}

}  // namespace tarvik

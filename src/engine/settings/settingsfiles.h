#pragma once
// Tarvik.ini, Tarvik.lst and Tarvik.spt in the config directory.
// Every operation opens the file for its own length only; keys and sections
// the program does not know are kept untouched.
// Failures come back as a UTF-8 message for the user; empty means success.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/settings/settingsproblems.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {

// Said once when a save has taken the others' read access away from a
// Tarvik.ini that holds the password.
inline constexpr std::string_view kMadeOwnerOnly = "Tarvik.ini を本人だけが読めるようにしました";

// Said when a dialog save leaves the password alone because it could not
// be read from the secret store (what matters first: the status line is
// narrow).
inline constexpr std::string_view kPasswordUnreadNotSaved =
    "パスワードを読めず、保存していません (キーリングのパスワードはそのままです)";

class SettingsFiles {
 public:
  explicit SettingsFiles(std::filesystem::path configDir);

  // Where one-off notices for the status line go (UTF-8).
  void setNotice(std::function<void(const std::string&)> notice);

  const std::filesystem::path& directory() const { return dir_; }
  std::filesystem::path iniPath() const;
  std::filesystem::path namesPath() const;
  std::filesystem::path scriptPath() const;

  // [OPTION] ONSCREEN alone.
  bool readStayOnTop() const;
  // Name list, script, then every INI key the start-up load reads.
  // (The first-run dialog is the shell's business when SOHOIP is empty.)
  // Throws std::runtime_error, naming the file and the system's reason,
  // when one of the three files is there but cannot be read (a folder, a
  // FIFO or a device is refused without waiting on it). Each file is read
  // once; keep, when given, receives Tarvik.ini as read. Returns what of
  // Tarvik.ini could not be taken (see settingsproblems.h); the file itself
  // is left as it is.
  std::vector<SettingProblem> loadAll(SettingsStore& store, IniFile* keep = nullptr) const;
  // The dialog save, in its order: [Tarvik], the interval check (below 2 or
  // above 58 becomes "5", stored back into the store; not an integer stops
  // the save with an error), the rest of the keys, the application lists of
  // store.appPageDestination, then Tarvik.lst and Tarvik.spt.
  std::string saveDialogSettings(SettingsStore& store, const ApplicationList& shownApps) const;
  // [Tarvik] PASS and [SECRET] KEYRING alone, as the dialog save writes them.
  // In both saves: while passwordUnread, PASS and KEYRING are left as they
  // are; once the secret store holds the password (passwordInStore), PASS
  // is written empty with KEYRING=1; otherwise PASS holds the password, with
  // KEYRING=0 when the file has the section. A load marks a KEYRING=1
  // password unread.
  std::string savePasswordChoice(const SettingsStore& store) const;
  // [Tarvik] SOHOIP alone: the address confirmed in the first-run dialog.
  std::string saveRouterAddress(const SettingsStore& store) const;
  // left, top (not when parked), left2, top2, Width2, Height2, B1, B2, LAST.
  std::string saveWindowState(const SettingsStore& store, bool parked) const;
  ApplicationList loadApplications(int destination) const;
  std::string saveApplications(int destination, const ApplicationList& apps) const;

 private:
  bool writeIni(const IniFile& ini) const;

  std::filesystem::path dir_;
  std::function<void(const std::string&)> notice_;
};

// The application lists of one destination in a Tarvik.ini already read.
ApplicationList applicationsIn(const IniFile& ini, int destination);

// A settings operation that failed in a way of its own (not a refused
// write): the message the user reads, naming Tarvik.ini and the reason.
std::string settingsFileTrouble(const SettingsFiles& files, std::string_view reason);

// The config directory: explicitDir when given; else exeDir when it holds
// the user's own Tarvik.ini (a portable copy; on Windows any Tarvik.ini, or
// a folder that is writable); else the user's settings folder:
// $XDG_CONFIG_HOME/tarvik (~/.config/tarvik), on Windows %APPDATA%\Tarvik.
std::filesystem::path findConfigDir(const std::filesystem::path& explicitDir,
                                    const std::filesystem::path& exeDir);

}  // namespace tarvik

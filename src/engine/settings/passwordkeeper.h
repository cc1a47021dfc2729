#pragma once
// Where the router password lives: in Tarvik.ini (encoded, as always) or,
// with [SECRET] KEYRING set, in the desktop's secret store, with PASS
// written empty so that a copy of the program that knows nothing of the
// store reads a file without a password rather than a wrong one.
//
// The keeper decides; the front ends call it after the start-up load and
// after each dialog save, and show what it reports. A password that could
// not be read from the store is never written back, neither into the store
// nor into the file (see passwordUnread).

#include <cstdint>
#include <functional>
#include <string>

#include "engine/ports/secretstore.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {

// Texts for the user (UTF-8).
inline constexpr std::string_view kKeyringUnreachable =
    "パスワードはキーリングに保存されていますが、キーリングに接続できません";
inline constexpr std::string_view kKeyringLocked =
    "キーリングのロックが解除されなかったため、パスワードを読めません";
inline constexpr std::string_view kKeyringEmpty = "キーリングにパスワードがありません";
inline constexpr std::string_view kKeyringNotSaved =
    "キーリングに保存できません。パスワードはTarvik.iniに保存しました";

// What a fetch into a copy of the settings found, taken into the settings
// as they stand now: what the store holds, and the password, unless the
// user has typed a new one meanwhile.
void takeFetchedPassword(const SettingsStore& fetched, SettingsStore& current);

class PasswordKeeper {
 public:
  using Report = std::function<void(const std::string& problem)>;  // empty: all well

  explicit PasswordKeeper(SecretStore& store);

  // After the start-up load: with [SECRET] KEYRING set, settings.tarvik.PASS
  // comes from the store, and settings.secret.held says the store has it.
  // When the store cannot be read (unreachable, or locked and not
  // unlocked), the password stays unread; when the store holds nothing, the
  // file's password is the password. done runs once the lookup is answered.
  void fetch(SettingsStore& settings, Report done);

  // After a dialog save: puts the password into the store, or takes it out
  // once the user chose the file again. The dialog save has left the
  // password in the file; only when the store has confirmed holding it is
  // PASS emptied there (with KEYRING=1). When the store refuses it, the
  // choice falls back to the file: KEYRING is cleared. An unread password
  // is left alone. settings.secret follows the store's answer. done does
  // not run for a request that a later keep has overtaken.
  void keep(SettingsStore& settings, const SettingsFiles& files, Report done);

 private:
  SecretStore& store_;
  std::uint64_t keeps_ = 0;  // the latest keep; older answers are stale
};

}  // namespace tarvik

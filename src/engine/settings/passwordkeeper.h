#pragma once
// Where the router password lives: in Tarvik.ini (encoded, as always) or,
// with [SECRET] KEYRING set, in the desktop's secret store, with PASS
// written empty so that a copy of the program that knows nothing of the
// store reads a file without a password rather than a wrong one.
//
// The keeper decides; the front ends call it after the start-up load and
// after each dialog save, and show what it reports.

#include <functional>
#include <string>

#include "ports/secretstore.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"

namespace tarvik {

// Texts for the user (UTF-8).
inline constexpr std::string_view kKeyringUnreachable =
    "パスワードはキーリングに保存されていますが、キーリングに接続できません";
inline constexpr std::string_view kKeyringEmpty = "キーリングにパスワードがありません";
inline constexpr std::string_view kKeyringNotSaved =
    "キーリングに保存できません。パスワードはTarvik.iniに保存しました";

class PasswordKeeper {
 public:
  using Report = std::function<void(const std::string& problem)>;  // empty: all well

  explicit PasswordKeeper(SecretStore& store);

  // After the start-up load: with [SECRET] KEYRING set, settings.tarvik.PASS
  // comes from the store. Without a reachable store, or when the store holds
  // nothing, the password stays as the file had it. done runs once the
  // password is known.
  void fetch(SettingsStore& settings, Report done);

  // After a dialog save (which wrote PASS empty when KEYRING is set): puts
  // the password into the store, or takes it out once the user chose the
  // file again. When the store refuses it, the choice falls back to the
  // file: KEYRING is cleared and PASS written there, so that no password is
  // ever lost between the two.
  void keep(SettingsStore& settings, const SettingsFiles& files, Report done);

 private:
  SecretStore& store_;
  bool inStore_ = false;  // the store may hold this program's password
};

}  // namespace tarvik

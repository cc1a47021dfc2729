#pragma once
// The router password in the Windows Credential Manager for the desktop
// program: the keeper over the credential of this config folder, which the
// settings dialog's box "キーリングに保存" uses at each save, and the read at
// start when Tarvik.ini says [SECRET] KEYRING=1.

#include <filesystem>
#include <functional>
#include <string>

#include "engine/settings/passwordkeeper.h"
#include "win32/credentialstore.h"

namespace tarvik {
class EngineCommands;
}

namespace tarvik::win32 {

class SettingsDialog;

class RouterPassword {
 public:
  // configDir: the config folder; its full path names the credential.
  explicit RouterPassword(const std::filesystem::path& configDir);
  RouterPassword(const RouterPassword&) = delete;
  RouterPassword& operator=(const RouterPassword&) = delete;

  // The dialog shows the box and keeps the password through the store.
  void attach(SettingsDialog& dialog);
  // At start, before the first exchange (which logs in): the password from
  // the store goes to the engine and the dialog's field; started(problem)
  // runs then, with the problem to show (empty when all is well, or when
  // the password is kept in Tarvik.ini).
  void fetchAtStart(EngineCommands& core, SettingsDialog& dialog,
                    const std::function<void(const std::string& problem)>& started);

  // The credential's name, as the Credential Manager lists it.
  const std::wstring& targetName() const { return store_.targetName(); }

 private:
  CredentialStore store_;
  PasswordKeeper keeper_{store_};
};

}  // namespace tarvik::win32

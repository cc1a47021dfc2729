#include "win32/dialogs/routerpassword.h"

#include "desktop/passwordplace.h"
#include "win32/dialogs/dialogs.h"

namespace tarvik::win32 {
namespace {

// The folder's full path (UTF-8), as the keyring names it on Linux.
std::string accountOf(const std::filesystem::path& configDir) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::weakly_canonical(configDir, error);
  if (error) full = std::filesystem::absolute(configDir, error);
  const std::u8string text = full.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

RouterPassword::RouterPassword(const std::filesystem::path& configDir) : store_(accountOf(configDir)) {}

void RouterPassword::attach(SettingsDialog& dialog) { dialog.setPasswordKeeper(&keeper_); }

void RouterPassword::fetchAtStart(EngineCommands& core, SettingsDialog& dialog,
                                  const std::function<void(const std::string& problem)>& started) {
  desktop::fetchPasswordAtStart(core, &keeper_, {}, [&dialog, started](const std::string& problem) {
    dialog.showPassword();
    started(problem);
  });
}

}  // namespace tarvik::win32

#include "desktop/passwordplace.h"

#include <memory>
#include <utility>

namespace tarvik::desktop {

void fetchPasswordAtStart(EngineCommands& core, PasswordKeeper* keeper, const std::string& noStore,
                          std::function<void(const std::string& problem)> started) {
  if (!keeper) {
    // The file says the store keeps the password, and there is no store.
    started(passwordUnread(core.settings()) ? std::string(kKeyringUnreachable) + " (" + noStore + ")"
                                            : std::string());
    return;
  }
  // The keeper may answer later: it fills a copy, whose password then goes
  // to the engine.
  auto fetched = std::make_shared<SettingsStore>(core.settings());
  keeper->fetch(*fetched, [&core, fetched, started = std::move(started)](const std::string& problem) {
    SettingsStore edited = core.settings();
    takeFetchedPassword(*fetched, edited);
    core.applySettings(edited);
    started(problem);
  });
}

void keepSavedPassword(EngineCommands& core, PasswordKeeper& keeper, std::function<bool()> alive,
                       std::function<void(const std::string& problem)> refused) {
  // The keeper may answer later, on a copy of the saved settings; where the
  // password went comes back to the engine from it.
  auto kept = std::make_shared<SettingsStore>(core.settings());
  keeper.keep(
      *kept, core.files(),
      [&core, kept, alive = std::move(alive), refused = std::move(refused)](const std::string& problem) {
        if (alive && !alive()) return;
        SettingsStore edited = core.settings();
        // What the store holds now decides where the next save puts the password.
        edited.secret.held = kept->secret.held;
        if (!problem.empty()) edited.secret.KEYRING = kept->secret.KEYRING;
        core.applySettings(edited);
        if (!problem.empty()) refused(problem);
      });
}

}  // namespace tarvik::desktop

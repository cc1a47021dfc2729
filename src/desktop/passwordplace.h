#pragma once
// Where the router password lives, as both desktops handle it around the
// keeper (engine/settings/passwordkeeper.h): read from the secret store at
// start, put there (or taken back) after each settings dialog save, and how
// the password field shows a password that could not be read.

#include <functional>
#include <string>
#include <string_view>

#include "engine/core/enginecommands.h"
#include "engine/settings/passwordkeeper.h"

namespace tarvik::desktop {

// The password field and its tip while the store's password is unread.
inline constexpr std::string_view kPasswordUnreadCue = "キーリング未読";
inline constexpr std::string_view kPasswordUnreadTip =
    "パスワードはキーリングにありますが、読めませんでした。入力したパスワードが新しいパスワードになります";

// At start, before the first exchange (which logs in). With a keeper, the
// store's password goes to the engine once the store has answered, unless
// the user has typed a new one meanwhile; without one (no store on this
// system) a file that keeps the password in the store reports so, with
// noStore saying why. started(problem) runs once, with an empty problem
// when all is well.
void fetchPasswordAtStart(EngineCommands& core, PasswordKeeper* keeper, const std::string& noStore,
                          std::function<void(const std::string& problem)> started);

// After a settings dialog save: the keeper puts the password where the
// dialog's box says. What the store then holds goes to the engine; when the
// store refused the password, the choice falls back to Tarvik.ini and
// refused(problem) runs for the dialog to show it (its box unticked).
// alive: whether the dialog is still there when the store answers (empty:
// always).
void keepSavedPassword(EngineCommands& core, PasswordKeeper& keeper, std::function<bool()> alive,
                       std::function<void(const std::string& problem)> refused);

}  // namespace tarvik::desktop

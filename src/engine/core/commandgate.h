#pragma once
// The one point where every command enters the engine. It holds back what
// must not run in the engine's state (anything but FormCreate before the
// settings are in, everything after FormClose) and keeps failures out of the
// front ends' event loops: one in something the user started is shown, one
// in a tick or a socket event is dropped (the next tick tries again).

#include <exception>
#include <type_traits>

#include "engine/core/enginecommands.h"
#include "engine/ports/view.h"

namespace tarvik {

class CommandGate {
 public:
  explicit CommandGate(View& view) : view_(view) {}

  // The settings have been loaded or given: commands run from now on.
  void settingsIn() { settingsIn_ = true; }
  // FormClose has run: nothing runs any more.
  void close() { closed_ = true; }
  bool closed() const { return closed_; }

  bool admits(CommandGuard guard) const {
    switch (guard) {
      case CommandGuard::Always:
        return true;
      case CommandGuard::Start:
        return !closed_;
      case CommandGuard::User:
      case CommandGuard::Event:
        return settingsIn_ && !closed_;
    }
    return false;
  }

  // Runs handler when the guard admits it. A command held back or failed
  // answers as refused(): the only command with an answer is FormCloseQuery,
  // and a close the engine cannot answer is let through.
  template <typename Result, typename Handler>
  Result run(CommandGuard guard, Handler&& handler) {
    if (!admits(guard)) return refused<Result>();
    try {
      return handler();
    } catch (const std::exception& e) {
      if (guard != CommandGuard::Event) view_.showError(e.what());
    } catch (...) {
    }
    return refused<Result>();
  }

 private:
  template <typename Result>
  static Result refused() {
    if constexpr (std::is_same_v<Result, bool>) {
      return true;
    } else if constexpr (!std::is_void_v<Result>) {
      return Result{};
    }
  }

  View& view_;
  bool settingsIn_ = false;
  bool closed_ = false;
};

}  // namespace tarvik

#pragma once
// The desktop program's wiring: the shared CoreWiring with the Qt adapters
// (timers, clock, launcher, browser), TAsyncSock as the transport and the
// shared libcanberra sound. The front end may wrap the sound, launcher and
// browser ports.

#include <filesystem>
#include <memory>

#include "qt/adapters/qtbrowser.h"
#include "qt/adapters/qtclock.h"
#include "qt/adapters/qtlauncher.h"
#include "qt/adapters/qttimers.h"
#include "posix/canberrasound.h"
#include "app/corewiring.h"
#include "qt/socket/asyncsocktransport.h"

namespace tarvik::app {

class CoreShell {
 public:
  struct FrontEnd {
    View& view;
    Prompter& prompter;
    Sound* sound = nullptr;        // null: the real adapter
    Launcher* launcher = nullptr;  // null: the real adapter
    Browser* browser = nullptr;    // null: the real adapter
  };

  CoreShell();
  ~CoreShell();

  CanberraSound& sound() { return sound_; }
  QtBrowser& browser() { return browser_; }
  QtLauncher& launcher() { return launcher_; }
  AsyncSockTransport& transport() { return *transport_; }

  // For tests (--clock-start); before createCore().
  void startClockAt(const LocalTime& start) { wiring_.startClockAt(start); }
  TarvikCore& createCore(const FrontEnd& frontEnd, const std::filesystem::path& configDir);
  TarvikCore* core() { return wiring_.core(); }
  void destroyCore() { wiring_.destroyCore(); }

 private:
  // Declared before the wiring: the core it owns goes first.
  QtTimers timers_;
  QtClock clock_;
  QtLauncher launcher_;
  CanberraSound sound_;
  QtBrowser browser_;
  std::unique_ptr<AsyncSockTransport> transport_;
  CoreWiring wiring_;
};

}  // namespace tarvik::app

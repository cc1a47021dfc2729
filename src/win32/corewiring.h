#pragma once
// The Windows adapters every Windows front end shares (the message window,
// timers, clock, launcher, Winsock transport) under the one CoreWiring of
// every program. The front end brings its View and Prompter, its sound and
// browser ports, and may wrap the launcher.
//
// Two steps, because wrappers need the real adapters before the core
// exists: construct the wiring, then createCore().

#include <filesystem>

#include "app/corewiring.h"
#include "engine/core/tarvikcore.h"
#include "win32/messagewindow.h"
#include "win32/winclock.h"
#include "win32/winlauncher.h"
#include "win32/winsocktransport.h"
#include "win32/wintimers.h"

namespace tarvik::win32 {

class CoreWiring {
 public:
  struct Ports {
    View& view;
    Prompter& prompter;
    Sound& sound;
    Browser& browser;
    Launcher* launcher = nullptr;  // null: the real adapter
  };

  CoreWiring();
  ~CoreWiring();
  CoreWiring(const CoreWiring&) = delete;
  CoreWiring& operator=(const CoreWiring&) = delete;

  MessageWindow& window() { return window_; }
  WinLauncher& launcher() { return launcher_; }

  // For tests (--clock-start); before createCore().
  void startClockAt(const LocalTime& start) { wiring_.startClockAt(start); }

  TarvikCore& createCore(const Ports& ports, const std::filesystem::path& configDir);
  TarvikCore* core() { return wiring_.core(); }
  // Ends the core before the front end's ports go away.
  void destroyCore() { wiring_.destroyCore(); }

 private:
  MessageWindow window_;
  WinsockSession winsock_;
  WinTimers timers_{window_};
  WinClock clock_;
  WinLauncher launcher_{window_};
  app::CoreWiring wiring_;
  WinsockTransport transport_;
};

}  // namespace tarvik::win32

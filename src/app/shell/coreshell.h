#pragma once
// The Qt adapters and the core, wired together: socket events and timer
// ticks reach the core's handlers (AsyncSock1Connect, Timer1Timer, ...).
// A front end brings its View and Prompter and may wrap the sound, launcher
// and browser ports (the headless program prints what they are asked).
//
// Two steps, because wrappers need the real adapters before the core
// exists: construct the shell, then createCore().

#include <filesystem>
#include <memory>

#include "adapters/qtbrowser.h"
#include "adapters/qtclock.h"
#include "adapters/qtlauncher.h"
#include "adapters/qtsound.h"
#include "adapters/qttimers.h"
#include "core/tarvikcore.h"
#include "net/qt/asyncsocktransport.h"

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
  CoreShell(const CoreShell&) = delete;
  CoreShell& operator=(const CoreShell&) = delete;

  QtSound& sound() { return sound_; }
  QtLauncher& launcher() { return launcher_; }
  QtBrowser& browser() { return browser_; }
  AsyncSockTransport& transport() { return *transport_; }

  // Builds the core over the front end's ports and the settings files of
  // configDir, and starts delivering events to it.
  TarvikCore& createCore(const FrontEnd& frontEnd, const std::filesystem::path& configDir);
  TarvikCore* core() { return core_.get(); }
  // Ends the core before the front end's ports go away.
  void destroyCore();

 private:
  QtTimers timers_;
  QtClock clock_;
  QtSound sound_;
  QtLauncher launcher_;
  QtBrowser browser_;
  std::unique_ptr<AsyncSockTransport> transport_;
  std::unique_ptr<TarvikCore> core_;
};

}  // namespace tarvik::app

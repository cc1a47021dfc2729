#pragma once
// The engine wired to a front end's adapters: socket events and timer ticks
// reach the core, which hands each to the handler named after it
// (AsyncSock1Connect, Timer1Timer, ...). Plain C++, the one wiring of every
// front end: the Linux desktop and headless programs and, under the Windows
// adapters, tarvik.exe.
//
// Two steps, because the transport needs the core's events before the core
// exists: construct the wiring, build the transport with transportEvents(),
// then createCore().

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/startedclock.h"
#include "engine/core/tarvikcore.h"

namespace tarvik::app {

class CoreWiring {
 public:
  // The front end's timers take a handler per timer (QtTimers, UvTimers,
  // WinTimers).
  using SetTimerHandler = std::function<void(TimerId, std::function<void()>)>;

  struct Ports {
    View& view;
    Prompter& prompter;
    Sound& sound;
    Browser& browser;
    Launcher& launcher;
    Transport& transport;
    // Where the program's own data lies (the default sounds, the manual),
    // searched after the config directory.
    std::vector<std::filesystem::path> dataDirectories;
  };

  CoreWiring(Timers& timers, SetTimerHandler setTimerHandler, Clock& clock);
  ~CoreWiring();  // the core goes first: its ports must outlive it
  CoreWiring(const CoreWiring&) = delete;
  CoreWiring& operator=(const CoreWiring&) = delete;

  // For tests: the core's clock starts at `start` and runs on from there
  // (--clock-start). Before createCore().
  void startClockAt(const LocalTime& start) { startedClock_.emplace(clock_, start); }

  // What a transport reports, delivered to the core.
  TransportEvents transportEvents();

  // Builds the core over the ports and the settings files of configDir,
  // and starts delivering events to it.
  TarvikCore& createCore(const Ports& ports, const std::filesystem::path& configDir);
  TarvikCore* core() { return core_.get(); }
  // Ends the core before the front end's ports go away.
  void destroyCore();

 private:
  Timers& timers_;
  SetTimerHandler setTimerHandler_;
  Clock& clock_;
  std::optional<StartedClock> startedClock_;
  std::unique_ptr<TarvikCore> core_;
};

}  // namespace tarvik::app

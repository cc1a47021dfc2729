#pragma once
// The core with the Qt adapters every front end shares (timers, clock,
// launcher, a transport), wired together: socket events and timer ticks
// reach the core's handlers (AsyncSock1Connect, Timer1Timer, ...). The
// front end brings its View and Prompter, its sound and browser ports, and
// may wrap the launcher.
//
// Two steps, because wrappers need the real adapters before the core
// exists: construct the wiring, then createCore().

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "adapters/qtclock.h"
#include "adapters/qtlauncher.h"
#include "adapters/qttimers.h"
#include "core/tarvikcore.h"

namespace tarvik::app {

// Where a transport delivers its socket events.
struct TransportEvents {
  std::function<void(SocketId)> connected;
  std::function<void(SocketId, std::string_view)> received;
  std::function<void(SocketId)> closed;  // closed by the peer, or failed
};

class CoreWiring {
 public:
  using MakeTransport = std::function<std::unique_ptr<Transport>(TransportEvents)>;

  struct Ports {
    View& view;
    Prompter& prompter;
    Sound& sound;
    Browser& browser;
    Launcher* launcher = nullptr;  // null: the real adapter
  };

  explicit CoreWiring(const MakeTransport& makeTransport);
  virtual ~CoreWiring();
  CoreWiring(const CoreWiring&) = delete;
  CoreWiring& operator=(const CoreWiring&) = delete;

  QtLauncher& launcher() { return launcher_; }
  Transport& transportPort() { return *transport_; }

  // Builds the core over the front end's ports and the settings files of
  // configDir, and starts delivering events to it.
  TarvikCore& createCore(const Ports& ports, const std::filesystem::path& configDir);
  TarvikCore* core() { return core_.get(); }
  // Ends the core before the front end's ports go away.
  void destroyCore();

 private:
  QtTimers timers_;
  QtClock clock_;
  QtLauncher launcher_;
  std::unique_ptr<Transport> transport_;
  std::unique_ptr<TarvikCore> core_;
};

}  // namespace tarvik::app

#include "app/corewiring.h"

#include <utility>

namespace tarvik::app {

CoreWiring::CoreWiring(Timers& timers, SetTimerHandler setTimerHandler, Clock& clock)
    : timers_(timers), setTimerHandler_(std::move(setTimerHandler)), clock_(clock) {}

CoreWiring::~CoreWiring() { destroyCore(); }

TransportEvents CoreWiring::transportEvents() {
  // Events that arrive without a core (none should) are dropped.
  return EngineCommands::transportEventsTo([this]() -> EngineCommands* { return core_.get(); });
}

void CoreWiring::destroyCore() {
  for (TimerId id : kTimerIds) {
    timers_.stop(id);
    setTimerHandler_(id, nullptr);
  }
  core_.reset();
}

TarvikCore& CoreWiring::createCore(const Ports& p, const std::filesystem::path& configDir) {
  Clock& clock = startedClock_ ? static_cast<Clock&>(*startedClock_) : clock_;
  CorePorts ports{p.view, p.transport, timers_, p.sound, p.launcher, p.browser, clock, p.prompter};
  core_ = std::make_unique<TarvikCore>(ports, SettingsFiles(configDir));
  core_->setDataDirectories(p.dataDirectories);
  TarvikCore& core = *core_;
  for (TimerId id : kTimerIds) setTimerHandler_(id, [&core, id] { core.timerFired(id); });
  return core;
}

}  // namespace tarvik::app

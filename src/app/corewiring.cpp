#include "app/corewiring.h"

#include <utility>

namespace tarvik::app {
namespace {

constexpr TimerId kTimers[] = {TimerId::Timer1, TimerId::Timer2, TimerId::TIMEMAN, TimerId::ExchangeWatchdog};

}  // namespace

CoreWiring::CoreWiring(Timers& timers, SetTimerHandler setTimerHandler, Clock& clock)
    : timers_(timers), setTimerHandler_(std::move(setTimerHandler)), clock_(clock) {}

CoreWiring::~CoreWiring() { destroyCore(); }

TransportEvents CoreWiring::transportEvents() {
  // Events that arrive without a core (none should) are dropped.
  return TransportEvents{
      [this](SocketId s) {
        if (core_) core_->AsyncSock1Connect(s);
      },
      [this](SocketId s, std::string_view bytes) {
        if (core_) core_->AsyncSock1Receive(s, bytes);
      },
      [this](SocketId s) {
        if (core_) core_->AsyncSock1Close(s);
      },
  };
}

void CoreWiring::destroyCore() {
  for (TimerId id : kTimers) {
    timers_.stop(id);
    setTimerHandler_(id, nullptr);
  }
  core_.reset();
}

TarvikCore& CoreWiring::createCore(const Ports& p, const std::filesystem::path& configDir) {
  CorePorts ports{p.view, p.transport, timers_, p.sound, p.launcher, p.browser, clock_, p.prompter};
  core_ = std::make_unique<TarvikCore>(ports, SettingsFiles(configDir));
  core_->setDataDirectories(p.dataDirectories);
  TarvikCore& core = *core_;
  setTimerHandler_(TimerId::Timer1, [&core] { core.Timer1Timer(); });
  setTimerHandler_(TimerId::Timer2, [&core] { core.Timer2Timer(); });
  setTimerHandler_(TimerId::TIMEMAN, [&core] { core.TIMEMANTimer(); });
  setTimerHandler_(TimerId::ExchangeWatchdog, [&core] { core.ExchangeWatchdogTimer(); });
  return core;
}

}  // namespace tarvik::app

#include "win32/corewiring.h"

#include "win32/programdir.h"

namespace tarvik::win32 {

CoreWiring::CoreWiring() {
  // Events that arrive without a core (none should) are dropped.
  transport_ = std::make_unique<WinsockTransport>(window_, TransportEvents{
                                                               [this](SocketId s) {
                                                                 if (core_) core_->AsyncSock1Connect(s);
                                                               },
                                                               [this](SocketId s, std::string_view bytes) {
                                                                 if (core_) core_->AsyncSock1Receive(s, bytes);
                                                               },
                                                               [this](SocketId s) {
                                                                 if (core_) core_->AsyncSock1Close(s);
                                                               },
                                                           });
}

// The core goes first: its ports (the adapters) must outlive it.
CoreWiring::~CoreWiring() { destroyCore(); }

void CoreWiring::destroyCore() {
  for (TimerId id : {TimerId::Timer1, TimerId::Timer2, TimerId::TIMEMAN, TimerId::ExchangeWatchdog}) {
    timers_.stop(id);
    timers_.setHandler(id, nullptr);
  }
  core_.reset();
}

TarvikCore& CoreWiring::createCore(const Ports& p, const std::filesystem::path& configDir) {
  CorePorts ports{p.view,
                  *transport_,
                  timers_,
                  p.sound,
                  p.launcher ? *p.launcher : static_cast<Launcher&>(launcher_),
                  p.browser,
                  clock_,
                  p.prompter};
  core_ = std::make_unique<TarvikCore>(ports, SettingsFiles(configDir));
  TarvikCore& core = *core_;
  // The default sounds lie beside tarvik.exe, wherever it was started from.
  core.setDataDirectories({executableDir()});
  timers_.setHandler(TimerId::Timer1, [&core] { core.Timer1Timer(); });
  timers_.setHandler(TimerId::Timer2, [&core] { core.Timer2Timer(); });
  timers_.setHandler(TimerId::TIMEMAN, [&core] { core.TIMEMANTimer(); });
  timers_.setHandler(TimerId::ExchangeWatchdog, [&core] { core.ExchangeWatchdogTimer(); });
  return core;
}

}  // namespace tarvik::win32

#include "app/shell/coreshell.h"

namespace tarvik::app {

CoreShell::CoreShell() {
  // Events that arrive before the core exists (none should) are dropped.
  transport_ = std::make_unique<AsyncSockTransport>(AsyncSockTransport::Handlers{
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
CoreShell::~CoreShell() { destroyCore(); }

void CoreShell::destroyCore() {
  for (TimerId id : {TimerId::Timer1, TimerId::Timer2, TimerId::TIMEMAN, TimerId::ExchangeWatchdog}) {
    timers_.stop(id);
    timers_.setHandler(id, nullptr);
  }
  core_.reset();
}

TarvikCore& CoreShell::createCore(const FrontEnd& f, const std::filesystem::path& configDir) {
  CorePorts ports{f.view,
                  *transport_,
                  timers_,
                  f.sound ? *f.sound : static_cast<Sound&>(sound_),
                  f.launcher ? *f.launcher : static_cast<Launcher&>(launcher_),
                  f.browser ? *f.browser : static_cast<Browser&>(browser_),
                  clock_,
                  f.prompter};
  core_ = std::make_unique<TarvikCore>(ports, SettingsFiles(configDir));
  TarvikCore& core = *core_;
  timers_.setHandler(TimerId::Timer1, [&core] { core.Timer1Timer(); });
  timers_.setHandler(TimerId::Timer2, [&core] { core.Timer2Timer(); });
  timers_.setHandler(TimerId::TIMEMAN, [&core] { core.TIMEMANTimer(); });
  timers_.setHandler(TimerId::ExchangeWatchdog, [&core] { core.ExchangeWatchdogTimer(); });
  return core;
}

}  // namespace tarvik::app

#include "qt/shell/coreshell.h"

#include "posix/programdata.h"

namespace tarvik::app {

CoreShell::CoreShell()
    : wiring_(timers_, [this](TimerId id, std::function<void()> h) { timers_.setHandler(id, std::move(h)); },
              clock_) {
  transport_ = std::make_unique<AsyncSockTransport>(wiring_.transportEvents());
}

CoreShell::~CoreShell() { wiring_.destroyCore(); }

TarvikCore& CoreShell::createCore(const FrontEnd& f, const std::filesystem::path& configDir) {
  return wiring_.createCore(CoreWiring::Ports{f.view, f.prompter, f.sound ? *f.sound : sound_,
                                              f.browser ? *f.browser : browser_,
                                              f.launcher ? *f.launcher : launcher_, *transport_,
                                              programDataDirectories()},
                            configDir);
}

}  // namespace tarvik::app

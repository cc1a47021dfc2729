#include "win32/corewiring.h"

#include <utility>

#include "win32/programdir.h"

namespace tarvik::win32 {

CoreWiring::CoreWiring()
    : wiring_(
          timers_, [this](TimerId id, std::function<void()> h) { timers_.setHandler(id, std::move(h)); },
          clock_),
      transport_(window_, wiring_.transportEvents()) {}

// The core goes first: its ports (the adapters) must outlive it.
CoreWiring::~CoreWiring() { wiring_.destroyCore(); }

TarvikCore& CoreWiring::createCore(const Ports& p, const std::filesystem::path& configDir) {
  // The default sounds lie beside tarvik.exe, wherever it was started from.
  return wiring_.createCore({p.view,
                             p.prompter,
                             p.sound,
                             p.browser,
                             p.launcher ? *p.launcher : static_cast<Launcher&>(launcher_),
                             transport_,
                             {executableDir()}},
                            configDir);
}

}  // namespace tarvik::win32

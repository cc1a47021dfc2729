#include "shell/coreshell.h"

namespace tarvik::app {

CoreShell::CoreShell()
    : CoreWiring([](TransportEvents events) {
        return std::make_unique<AsyncSockTransport>(
            AsyncSockTransport::Handlers{std::move(events.connected), std::move(events.received),
                                         std::move(events.closed)});
      }) {}

TarvikCore& CoreShell::createCore(const FrontEnd& f, const std::filesystem::path& configDir) {
  return CoreWiring::createCore(
      Ports{f.view, f.prompter, f.sound ? *f.sound : sound_, f.browser ? *f.browser : browser_, f.launcher},
      configDir);
}

}  // namespace tarvik::app

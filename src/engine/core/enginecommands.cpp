#include "engine/core/enginecommands.h"

#include <memory>
#include <utility>

namespace tarvik {

void EngineCommands::timerFired(TimerId id) {
  struct Route {
    TimerId id;
    void (EngineCommands::*handler)();
  };
  static constexpr Route kRoutes[] = {
      {TimerId::Timer1, &EngineCommands::Timer1Timer},
      {TimerId::Timer2, &EngineCommands::Timer2Timer},
      {TimerId::TIMEMAN, &EngineCommands::TIMEMANTimer},
      {TimerId::ExchangeWatchdog, &EngineCommands::ExchangeWatchdogTimer},
  };
  for (const Route& route : kRoutes) {
    if (route.id == id) return (this->*route.handler)();
  }
}

TransportEvents EngineCommands::transportEventsTo(std::function<EngineCommands*()> engine) {
  auto target = std::make_shared<std::function<EngineCommands*()>>(std::move(engine));
  return TransportEvents{
      [target](SocketId socket) {
        if (EngineCommands* e = (*target)()) e->AsyncSock1Connect(socket);
      },
      [target](SocketId socket, std::string_view bytes) {
        if (EngineCommands* e = (*target)()) e->AsyncSock1Receive(socket, bytes);
      },
      [target](SocketId socket) {
        if (EngineCommands* e = (*target)()) e->AsyncSock1Close(socket);
      },
  };
}

}  // namespace tarvik

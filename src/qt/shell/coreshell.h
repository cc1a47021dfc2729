#pragma once
// The desktop program's wiring: the shared CoreWiring with TAsyncSock as
// the transport and the Qt sound and browser adapters. The front end may
// wrap the sound, launcher and browser ports.

#include <filesystem>

#include "adapters/qtbrowser.h"
#include "adapters/qtsound.h"
#include "shell/corewiring.h"
#include "socket/asyncsocktransport.h"

namespace tarvik::app {

class CoreShell : public CoreWiring {
 public:
  struct FrontEnd {
    View& view;
    Prompter& prompter;
    Sound* sound = nullptr;        // null: the real adapter
    Launcher* launcher = nullptr;  // null: the real adapter
    Browser* browser = nullptr;    // null: the real adapter
  };

  CoreShell();
  ~CoreShell() override { destroyCore(); }  // before the sound and browser go

  QtSound& sound() { return sound_; }
  QtBrowser& browser() { return browser_; }
  AsyncSockTransport& transport() { return static_cast<AsyncSockTransport&>(transportPort()); }

  TarvikCore& createCore(const FrontEnd& frontEnd, const std::filesystem::path& configDir);

 private:
  QtSound sound_;
  QtBrowser browser_;
};

}  // namespace tarvik::app

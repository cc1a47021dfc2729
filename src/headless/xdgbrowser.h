#pragma once
// The core's Browser port on the desktop's opener: `xdg-open` with the
// address, started as a child through the launcher (so it is reaped like
// every other child). A local file path is made absolute first.

#include <functional>
#include <string>
#include <vector>

#include "engine/ports/browser.h"
#include "engine/ports/launcher.h"

namespace tarvik::app {

class XdgBrowser : public Browser {
 public:
  // Starts a program from its argument list (UvLauncher::startProgram).
  using Start = std::function<ProcessHandle(const std::vector<std::string>&)>;
  explicit XdgBrowser(Start start) : start_(std::move(start)) {}
  void open(const std::string& address) override;

  // The argument list it starts for an address (empty: nothing to open).
  static std::vector<std::string> commandFor(const std::string& address);

 private:
  Start start_;
};

}  // namespace tarvik::app

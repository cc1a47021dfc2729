#pragma once
// The core's Browser port: the address goes to the program the user has
// chosen for it (ShellExecuteW "open").

#include "engine/ports/browser.h"

namespace tarvik::win32 {

class WinBrowser : public Browser {
 public:
  void open(const std::string& address) override;
};

}  // namespace tarvik::win32

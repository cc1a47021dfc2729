#pragma once
// The core's Browser port: hands an address to the desktop's browser.
// Web addresses go as they are; anything else is a local file (the
// manual), passed as a file URL so that no browser mistakes it for a host.

#include <QUrl>
#include <string>

#include "engine/ports/browser.h"

namespace tarvik {

class QtBrowser : public Browser {
 public:
  void open(const std::string& address) override;

  // The URL that open() hands over.
  static QUrl urlFor(const std::string& address);
};

}  // namespace tarvik

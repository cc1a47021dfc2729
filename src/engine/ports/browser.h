#pragma once
#include <string>

namespace tarvik {

// Hands an address (http URL or local file path) to the user's browser.
class Browser {
 public:
  virtual ~Browser() = default;
  virtual void open(const std::string& address) = 0;
};

}  // namespace tarvik

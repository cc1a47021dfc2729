#pragma once
// The one failure a socket component reports: a message made of a fixed
// prefix, naming the operation that failed, and the socket layer's text.

#include <stdexcept>
#include <string>

#include "engine/ports/transport.h"  // CommFailure and its message prefixes

namespace tarvik {

class ECommError : public std::runtime_error {
 public:
  // The message is the failure's prefix followed by detail (UTF-8).
  ECommError(CommFailure failure, const std::string& detail);
  CommFailure failure() const { return failure_; }

 private:
  CommFailure failure_;
};

}  // namespace tarvik

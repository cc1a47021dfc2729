#pragma once
// The one failure the socket component reports: a message made of a fixed
// prefix, naming the operation that failed, and the socket layer's text.

#include <stdexcept>
#include <string>

namespace tarvik {

enum class CommFailure { NoSocket, Bind, Connect, Send, Recv };

// "Soketが獲得できない。 ", "bind Error ", "connect Error ", "Send Error ",
// "Recv Error " (UTF-8).
const char* commFailurePrefix(CommFailure failure);

class ECommError : public std::runtime_error {
 public:
  // The message is the failure's prefix followed by detail (UTF-8).
  ECommError(CommFailure failure, const std::string& detail);
  CommFailure failure() const { return failure_; }

 private:
  CommFailure failure_;
};

}  // namespace tarvik

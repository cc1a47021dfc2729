#include "socket/ecommerror.h"

#include <array>

namespace tarvik {

const char* commFailurePrefix(CommFailure failure) {
  static constexpr std::array<const char*, 5> kPrefixes{
      "Soketが獲得できない。 ",  // NoSocket
      "bind Error ",             // Bind
      "connect Error ",          // Connect
      "Send Error ",             // Send
      "Recv Error ",             // Recv
  };
  return kPrefixes[static_cast<std::size_t>(failure)];
}

ECommError::ECommError(CommFailure failure, const std::string& detail)
    : std::runtime_error(commFailurePrefix(failure) + detail), failure_(failure) {}

}  // namespace tarvik

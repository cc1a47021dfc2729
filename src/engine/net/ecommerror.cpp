#include "engine/net/ecommerror.h"

namespace tarvik {

ECommError::ECommError(CommFailure failure, const std::string& detail)
    : std::runtime_error(commFailurePrefix(failure) + detail), failure_(failure) {}

}  // namespace tarvik

#pragma once
// What a Windows Sockets error code of a failed connect means for the user
// (the Qt socket component keeps those codes, Winsock gives them).

#include "engine/ports/transport.h"

namespace tarvik {

constexpr ConnectFailure connectFailureOfWinsockCode(int code) {
  switch (code) {
    case 10061:  // WSAECONNREFUSED
      return ConnectFailure::Refused;
    case 11001:  // WSAHOST_NOT_FOUND
    case 11002:  // WSATRY_AGAIN
    case 11004:  // WSANO_DATA
      return ConnectFailure::HostNotFound;
    case 10060:  // WSAETIMEDOUT
      return ConnectFailure::TimedOut;
    case 10051:  // WSAENETUNREACH
    case 10065:  // WSAEHOSTUNREACH
      return ConnectFailure::Unreachable;
    default:
      return ConnectFailure::Other;
  }
}

}  // namespace tarvik

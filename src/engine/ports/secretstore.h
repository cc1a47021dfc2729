#pragma once
// The desktop's secret store (a keyring), where the router password may be
// kept instead of Tarvik.ini. Requests are asynchronous: done runs later on
// the owner's thread (an adapter without an event loop may run it before
// the call returns). A store never throws.

#include <functional>
#include <string>

namespace tarvik {

struct SecretReply {
  enum class Status {
    kOk,           // done; for a lookup, password holds what was found
    kNotFound,     // a lookup found nothing under this program's name
    kLocked,       // the store holds a password, locked, and the unlock was refused
    kUnreachable,  // no store answered (no session bus, no service)
  };
  Status status = Status::kUnreachable;
  std::string password;  // Shift-JIS, as the store holds it
  std::string detail;    // the store's own words for a failure (UTF-8)
};

class SecretStore {
 public:
  using Done = std::function<void(const SecretReply&)>;
  virtual ~SecretStore() = default;
  virtual void lookup(Done done) = 0;
  virtual void store(const std::string& password, Done done) = 0;
  // Removes the password; a store that holds none answers kOk.
  virtual void clear(Done done) = 0;
};

}  // namespace tarvik

#pragma once
// The router password in the desktop's Secret Service (GNOME Keyring,
// KWallet and the like) through libsecret, one entry per config directory.
//
// libsecret's calls wait on D-Bus, and on the user when the keyring asks
// for a password, so with a `post` the requests run one after another on a
// worker thread (SerialWorker) and their answers come back through `post`
// to the owner's thread: the desktop program posts to its event loop and
// never waits, not even at its end. Without a `post` (the headless program,
// before its loop runs) a request runs to its end inside the call.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "posix/keyring/serialworker.h"
#include "engine/ports/secretstore.h"

namespace tarvik::app {

class LibsecretStore final : public SecretStore {
 public:
  using Post = std::function<void(std::function<void()>)>;

  // account tells this program's entries apart: the config directory.
  explicit LibsecretStore(std::string account, Post post = {});
  // Returns at once; the answers of requests still in progress are dropped.
  ~LibsecretStore() override;
  LibsecretStore(const LibsecretStore&) = delete;
  LibsecretStore& operator=(const LibsecretStore&) = delete;

  void lookup(Done done) override;
  void store(const std::string& password, Done done) override;
  void clear(Done done) override;

 private:
  void run(std::function<SecretReply(const std::string& account)> work, Done done);

  std::string account_;
  std::optional<SerialWorker> worker_;
};

}  // namespace tarvik::app

#pragma once
// The router password in the desktop's Secret Service (GNOME Keyring,
// KWallet and the like) through libsecret, one entry per config directory.
//
// libsecret's calls wait on D-Bus, so each request runs on a thread of its
// own and its answer is handed back through `post` to the owner's thread;
// the desktop program posts to its event loop and never waits. Without a
// `post` (the headless program, before its loop runs) a request runs to its
// end inside the call.

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ports/secretstore.h"

namespace tarvik::app {

class LibsecretStore final : public SecretStore {
 public:
  using Post = std::function<void(std::function<void()>)>;

  // account tells this program's entries apart: the config directory.
  explicit LibsecretStore(std::string account, Post post = {});
  // Waits for requests still talking to the store; their answers are dropped.
  ~LibsecretStore() override;
  LibsecretStore(const LibsecretStore&) = delete;
  LibsecretStore& operator=(const LibsecretStore&) = delete;

  void lookup(Done done) override;
  void store(const std::string& password, Done done) override;
  void clear(Done done) override;

 private:
  void run(std::function<SecretReply(const std::string& account)> work, Done done);

  std::string account_;
  Post post_;
  // Shared with the answers in flight: false once this store is gone.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::vector<std::thread> workers_;
};

}  // namespace tarvik::app

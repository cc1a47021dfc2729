#pragma once
// A secret store that holds one password in memory and records every
// request. It can be out of reach or locked, as a real store can. It answers later, when the test says so (answerAll), as a real
// store does, or at once when answerAtOnce is set.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/ports/secretstore.h"

namespace tarvik::test {

class FakeSecretStore : public SecretStore {
 public:
  void lookup(Done done) override {
    calls.push_back("lookup");
    answer([this, done] {
      if (!reachable) return done({SecretReply::Status::kUnreachable, "", "no bus"});
      if (!held) return done({SecretReply::Status::kNotFound, "", ""});
      if (locked) return done({SecretReply::Status::kLocked, "", ""});
      done({SecretReply::Status::kOk, *held, ""});
    });
  }
  void store(const std::string& password, Done done) override {
    calls.push_back("store " + password);
    answer([this, password, done] {
      if (!reachable) return done({SecretReply::Status::kUnreachable, "", "no bus"});
      if (locked) return done({SecretReply::Status::kLocked, "", "dismissed"});
      held = password;
      done({SecretReply::Status::kOk, "", ""});
    });
  }
  void clear(Done done) override {
    calls.push_back("clear");
    answer([this, done] {
      if (!reachable) return done({SecretReply::Status::kUnreachable, "", "no bus"});
      held.reset();
      done({SecretReply::Status::kOk, "", ""});
    });
  }
  void answerAll() {
    while (!pending.empty()) {
      auto next = std::move(pending.front());
      pending.pop_front();
      next();
    }
  }

  bool answerAtOnce = false;
  bool reachable = true;
  bool locked = false;  // holds its password, and every unlock is cancelled
  std::optional<std::string> held;
  std::vector<std::string> calls;
  std::deque<std::function<void()>> pending;

 private:
  void answer(std::function<void()> reply) {
    if (answerAtOnce) return reply();
    pending.push_back(std::move(reply));
  }
};

}  // namespace tarvik::test

#pragma once
// The per-call question for user ID and password: asked for one
// destination, answered or cancelled once. A dial while it is open (a timed
// dial, a redial) does not ask again: the answer dials.

#include <optional>

namespace tarvik {

class CredentialsQuestion {
 public:
  bool open() const { return open_; }
  void ask(int destination) {
    open_ = true;
    destination_ = destination;
  }
  // The destination the answer dials; none when no question was open.
  std::optional<int> answered() {
    if (!open_) return std::nullopt;
    open_ = false;
    return destination_;
  }
  void cancelled() { open_ = false; }

 private:
  bool open_ = false;
  int destination_ = 0;
};

}  // namespace tarvik

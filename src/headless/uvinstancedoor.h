#pragma once
// The headless program's door for second starts (instancedoor.h) on its
// libuv loop: each caller's message is read whole, its words handed on,
// and answered with "OK". A caller that sends more than a message may hold is
// dropped unanswered.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "headless/eventloop.h"

namespace tarvik::app {

class UvInstanceDoor {
 public:
  using Words = std::function<void(const std::vector<std::string>&)>;

  // Listens at path; the lock is this process's, so a socket file left by
  // an ended run is removed first. An empty path opens no door.
  UvInstanceDoor(EventLoop& loop, std::filesystem::path path, Words onWords);
  ~UvInstanceDoor();
  UvInstanceDoor(const UvInstanceDoor&) = delete;
  UvInstanceDoor& operator=(const UvInstanceDoor&) = delete;

  // Why the door could not be opened (empty when it listens, or no path).
  const std::string& problem() const { return problem_; }

  struct Server;
  struct Caller;

 private:
  std::filesystem::path path_;
  Server* server_ = nullptr;  // closed and freed through the loop
  std::string problem_;
};

}  // namespace tarvik::app

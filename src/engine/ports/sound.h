#pragma once
#include <string>

namespace tarvik {

// Plays a sound file without ever blocking the caller. A new sound replaces
// one still playing; a missing file plays nothing and does not fail.
class Sound {
 public:
  virtual ~Sound() = default;
  virtual void play(const std::string& utf8Path) = 0;
};

}  // namespace tarvik

#pragma once
// The core's Sound port on PlaySoundW: asynchronous, a new sound replaces
// the one playing, and a file that is missing plays the system's default
// sound, as the platform does for every program.

#include "engine/ports/sound.h"

namespace tarvik::win32 {

class WinSound : public Sound {
 public:
  ~WinSound() override;
  void play(const std::string& utf8Path) override;
};

}  // namespace tarvik::win32

#pragma once
// The core's Sound port on libcanberra, the desktop's event-sound library,
// shared by the desktop and the headless program.
//
// play() never blocks: it hands the name to a worker thread and returns.
// The newest request wins: a sound still playing is cut off, and requests
// that pile up while the worker is busy collapse into the last one. An
// empty name plays nothing. A file that is missing or cannot be played
// gives the desktop's default event sound instead (the "bell" event of the
// sound theme), as a sound routine without a "no default" flag does.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "engine/ports/sound.h"

namespace tarvik::app {

// What the worker does with a request; libcanberra in the program, a
// recorder in tests.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  virtual void cancel() = 0;                               // the sound still playing stops
  virtual bool playFile(const std::string& path) = 0;      // false: it cannot be played
  virtual void playEvent(const std::string& eventId) = 0;  // a sound of the desktop's theme
};

// libcanberra's context, made on first use (on the worker thread).
std::unique_ptr<SoundOutput> makeCanberraOutput();

class CanberraSound : public Sound {
 public:
  static constexpr const char* kDefaultEvent = "bell";

  explicit CanberraSound(std::unique_ptr<SoundOutput> output = makeCanberraOutput());
  ~CanberraSound() override;
  CanberraSound(const CanberraSound&) = delete;
  CanberraSound& operator=(const CanberraSound&) = delete;

  void play(const std::string& utf8Path) override;

  // Blocks until every request made so far has been handed to the output
  // (for tests).
  void waitIdle();

 private:
  void work();

  std::unique_ptr<SoundOutput> output_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::optional<std::string> pending_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread worker_;  // last: started when everything above exists
};

}  // namespace tarvik::app

// CanberraSound: what reaches the sound output for each kind of request.
// The output is a recorder here; the last test runs the real libcanberra
// output (which on a machine without a sound device plays nothing).
#include "canberrasound.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <vector>

namespace tarvik::app {
namespace {
namespace fs = std::filesystem;

class Recorder : public SoundOutput {
 public:
  // Files whose play fails (as an undecodable one does).
  std::vector<std::string> unplayable;
  std::vector<std::string> calls;  // "cancel", "file:<path>", "event:<id>"
  // While held, the output is busy with the first request.
  std::mutex hold;

  void cancel() override { record("cancel"); }
  bool playFile(const std::string& path) override {
    std::lock_guard wait(hold);
    record("file:" + path);
    for (const std::string& u : unplayable)
      if (u == path) return false;
    return true;
  }
  void playEvent(const std::string& id) override { record("event:" + id); }

  std::vector<std::string> taken() {
    std::lock_guard lock(mutex_);
    return calls;
  }

 private:
  void record(const std::string& call) {
    std::lock_guard lock(mutex_);
    calls.push_back(call);
  }
  std::mutex mutex_;
};

struct Dir {
  Dir() {
    std::string t = (fs::temp_directory_path() / "tarvik-sound-XXXXXX").string();
    path = ::mkdtemp(t.data());
  }
  ~Dir() { fs::remove_all(path); }
  fs::path path;
};

TEST(CanberraSoundTest, EachRequestPlaysTheFileOrTheDefaultSound) {
  Dir dir;
  const std::string good = (dir.path / "接続.wav").string();
  const std::string broken = (dir.path / "broken.wav").string();
  const std::string unreadable = (dir.path / "locked.wav").string();
  for (const std::string& f : {good, broken, unreadable}) std::ofstream(f) << "RIFF";
  ::chmod(unreadable.c_str(), 0);
  const bool rootReads = ::access(unreadable.c_str(), R_OK) == 0;  // root reads anything
  struct Case {
    std::string request;
    std::vector<std::string> expected;
  };
  const std::string bell = std::string("event:") + CanberraSound::kDefaultEvent;
  std::vector<Case> cases = {
      {"", {}},                                                   // silence asked for
      {good, {"cancel", "file:" + good}},                         // plays the file
      {(dir.path / "missing.wav").string(), {"cancel", bell}},    // missing: default sound
      {dir.path.string(), {"cancel", bell}},                      // a folder is no sound
      {broken, {"cancel", "file:" + broken, bell}},               // cannot be played: default
  };
  if (!rootReads) cases.push_back({unreadable, {"cancel", bell}});
  for (const Case& c : cases) {
    auto recorder = std::make_unique<Recorder>();
    recorder->unplayable = {broken};
    Recorder* r = recorder.get();
    CanberraSound sound(std::move(recorder));
    sound.play(c.request);
    sound.waitIdle();
    EXPECT_EQ(r->taken(), c.expected) << c.request;
  }
}

TEST(CanberraSoundTest, RequestsWhileBusyCollapseIntoTheNewest) {
  Dir dir;
  std::vector<std::string> files;
  for (const char* name : {"1.wav", "2.wav", "3.wav", "4.wav"}) {
    files.push_back((dir.path / name).string());
    std::ofstream(files.back()) << "RIFF";
  }
  auto recorder = std::make_unique<Recorder>();
  Recorder* r = recorder.get();
  CanberraSound sound(std::move(recorder));
  {
    // The output is stuck in the first play; play() still returns at once.
    std::unique_lock busy(r->hold);
    sound.play(files[0]);
    while (r->taken().empty()) std::this_thread::yield();  // the worker has taken the first
    sound.play(files[1]);
    sound.play(files[2]);
    sound.play(files[3]);
  }
  sound.waitIdle();
  const std::vector<std::string> expected = {"cancel", "file:" + files[0], "cancel", "file:" + files[3]};
  EXPECT_EQ(r->taken(), expected);
}

TEST(CanberraSoundTest, RealOutputTakesFilesAndMissingOnes) {
  Dir dir;
  CanberraSound sound;  // libcanberra
  sound.play((dir.path / "missing.wav").string());
  sound.play("");
  sound.waitIdle();
  SUCCEED() << "played (or found no sound device) without blocking the caller or failing";
}

}  // namespace
}  // namespace tarvik::app

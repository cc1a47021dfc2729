// CanberraSound: what reaches the sound output for each kind of request.
// The output is a recorder in the first tests; the last ones run the real
// libcanberra output into a capturing ALSA device.
#include "posix/canberrasound.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>
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
    // Until the worker has taken the first request (bounded: a worker that
    // never takes it fails the test instead of hanging it).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (r->taken().empty() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    ASSERT_FALSE(r->taken().empty());
    sound.play(files[1]);
    sound.play(files[2]);
    sound.play(files[3]);
  }
  sound.waitIdle();
  const std::vector<std::string> expected = {"cancel", "file:" + files[0], "cancel", "file:" + files[3]};
  EXPECT_EQ(r->taken(), expected);
}

// The real libcanberra output, through ALSA. The user's ALSA configuration
// (HOME/.asoundrc) makes the default device one that writes every sample it
// is given into a file and discards it, so the test hears what was played
// on a machine without a sound card.
class CanberraRealOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* home = std::getenv("HOME")) oldHome_ = home;
    captured = dir.path / "captured.raw";
    std::ofstream(dir.path / ".asoundrc")
        << "pcm.!default { type file; slave.pcm \"null\"; file \"" << captured.string()
        << "\"; format \"raw\" }\n";
    ::setenv("HOME", dir.path.c_str(), 1);
  }
  void TearDown() override {
    if (oldHome_) ::setenv("HOME", oldHome_->c_str(), 1);
  }

  // Waits until the capture holds at least `bytes` (playing is asynchronous).
  std::uintmax_t waitForCapture(std::uintmax_t bytes) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::error_code ec;
    std::uintmax_t size = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      size = fs::file_size(captured, ec);
      if (!ec && size >= bytes) return size;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ec ? 0 : size;
  }

  Dir dir;
  fs::path captured;

 private:
  std::optional<std::string> oldHome_;
};

TEST_F(CanberraRealOutputTest, PlaysEverySampleOfAWaveFile) {
  // A tone made here: 16-bit mono PCM, 22050 Hz, 0.1 s.
  const std::uint32_t samples = 2205;
  const std::uint32_t dataBytes = samples * 2;
  std::string wav = "RIFF";
  auto put32 = [&wav](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) wav += static_cast<char>((v >> (8 * i)) & 0xff);
  };
  auto put16 = [&wav](std::uint16_t v) {
    wav += static_cast<char>(v & 0xff);
    wav += static_cast<char>(v >> 8);
  };
  put32(36 + dataBytes);
  wav += "WAVEfmt ";
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(22050);
  put32(22050 * 2);
  put16(2);
  put16(16);
  wav += "data";
  put32(dataBytes);
  for (std::uint32_t i = 0; i < samples; ++i) put16(static_cast<std::uint16_t>((i % 50) * 600));
  const fs::path file = dir.path / "接続.wav";
  std::ofstream(file, std::ios::binary) << wav;

  CanberraSound sound;
  sound.play(file.string());
  sound.waitIdle();
  ASSERT_EQ(waitForCapture(dataBytes), dataBytes);
  std::ifstream in(captured, std::ios::binary);
  const std::string played((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(played, wav.substr(44)) << "the samples arrive unchanged";
}

TEST_F(CanberraRealOutputTest, AMissingFilePlaysTheThemesBell) {
  CanberraSound sound;
  sound.play((dir.path / "missing.wav").string());
  sound.waitIdle();
  EXPECT_GT(waitForCapture(1), 0u) << "the bell of the sound theme was played instead";
}

}  // namespace
}  // namespace tarvik::app

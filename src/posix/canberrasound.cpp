#include "posix/canberrasound.h"

#include <canberra.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvik::app {
namespace {

constexpr std::uint32_t kSoundId = 1;  // one sound at a time: each cancels the one before

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA's library writes lines of its own to standard error whenever a
// device cannot be opened (no sound card, a card the configuration names
// that is not there), at every sound. The theme's bell or silence follows
// all the same, so its lines are noise amid the program's own output, and
// its handler is silenced. libasound is reached through the loader, not
// linked: it is libcanberra's backend's library, loaded once per process,
// and the handler set here is the one that backend meets.
void silenceAlsaErrors() {
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  void* alsa = ::dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
  if (!alsa) return;  // no ALSA: nobody to silence
  if (auto set = reinterpret_cast<SetHandler>(::dlsym(alsa, "snd_lib_error_set_handler")))
    set(ignoreAlsaError);
  // The library stays loaded: the handler is kept inside it.
}

class CanberraOutput : public SoundOutput {
 public:
  ~CanberraOutput() override {
    if (context_) ca_context_destroy(context_);
  }

  void cancel() override {
    if (context()) ca_context_cancel(context_, kSoundId);
  }

  bool playFile(const std::string& path) override {
    if (!context()) return false;
    return ca_context_play(context_, kSoundId, CA_PROP_MEDIA_FILENAME, path.c_str(),
                           CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr) == CA_SUCCESS;
  }

  void playEvent(const std::string& eventId) override {
    if (context()) ca_context_play(context_, kSoundId, CA_PROP_EVENT_ID, eventId.c_str(), nullptr);
  }

 private:
  ca_context* context() {
    if (!context_ && !failed_) {
      silenceAlsaErrors();
      failed_ = ca_context_create(&context_) != CA_SUCCESS;
      if (!failed_) {
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Tarvik", CA_PROP_APPLICATION_ID,
                                "tarvik", nullptr);
      }
    }
    return context_;
  }

  ca_context* context_ = nullptr;
  bool failed_ = false;
};

bool readableFile(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

}  // namespace

std::unique_ptr<SoundOutput> makeCanberraOutput() { return std::make_unique<CanberraOutput>(); }

CanberraSound::CanberraSound(std::unique_ptr<SoundOutput> output)
    : output_(std::move(output)), worker_([this] { work(); }) {}

CanberraSound::~CanberraSound() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  worker_.join();
}

void CanberraSound::play(const std::string& utf8Path) {
  if (utf8Path.empty()) return;  // silence was asked for
  {
    std::lock_guard lock(mutex_);
    pending_ = utf8Path;
  }
  wake_.notify_one();
}

void CanberraSound::waitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !pending_ && !busy_; });
}

void CanberraSound::work() {
  std::unique_lock lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return stopping_ || pending_; });
    if (stopping_) return;
    const std::string path = std::move(*pending_);
    pending_.reset();
    busy_ = true;
    lock.unlock();
    // The newest request is the one to hear, or the default sound: what
    // still plays stops either way.
    output_->cancel();
    if (!readableFile(path) || !output_->playFile(path)) output_->playEvent(kDefaultEvent);
    lock.lock();
    busy_ = false;
    if (!pending_) idle_.notify_all();
  }
}

}  // namespace tarvik::app

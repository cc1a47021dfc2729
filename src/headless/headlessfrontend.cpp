#include "headless/headlessfrontend.h"

#include <csignal>
#include <cstdlib>

#include "engine/settings/passwordkeeper.h"
#include "posix/instancedoor.h"
#include "posix/keyring/secretstores.h"
#include "posix/programdata.h"

namespace tarvik::app {
namespace {

// A browser is opened only where somebody can look at it.
bool haveDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

// SIGINT, SIGTERM and SIGHUP end the run cleanly, from the loop.
class HeadlessFrontEnd::Signals {
 public:
  Signals(EventLoop& loop, std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    for (int i = 0; i < kCount; ++i) {
      handles_[i] = new uv_signal_t{};
      uv_signal_init(loop.uv(), handles_[i]);
      handles_[i]->data = this;
      uv_signal_start(
          handles_[i], [](uv_signal_t* h, int) { static_cast<Signals*>(h->data)->onSignal_(); }, kSignals[i]);
    }
  }
  ~Signals() {
    for (uv_signal_t* h : handles_) closeAndDelete(h, reinterpret_cast<uv_handle_t*>(h));
  }

 private:
  static constexpr int kCount = 3;
  static constexpr int kSignals[kCount] = {SIGINT, SIGTERM, SIGHUP};
  std::function<void()> onSignal_;
  uv_signal_t* handles_[kCount];
};

HeadlessFrontEnd::HeadlessFrontEnd(std::FILE* events)
    : events_(events),
      out_(events),
      timers_(loop_),
      realLauncher_(loop_),
      realBrowser_([this](const std::vector<std::string>& argv) { return realLauncher_.startProgram(argv); }),
      wiring_(timers_, [this](TimerId id, std::function<void()> h) { timers_.setHandler(id, std::move(h)); },
              clock_),
      transport_(loop_, wiring_.transportEvents()),
      view_(out_, [this] { loop_.post([this] { end(); }); }),
      prompter_(view_, [this](std::function<void()> answer) { loop_.post(std::move(answer)); }),
      sound_(out_, realSound_),
      launcher_(out_, realLauncher_),
      browser_(out_, haveDisplay() ? &realBrowser_ : nullptr) {
  // A router that closes while a send is queued must not end the program.
  std::signal(SIGPIPE, SIG_IGN);
}

HeadlessFrontEnd::~HeadlessFrontEnd() { wiring_.destroyCore(); }

TarvikCore& HeadlessFrontEnd::createCore(const std::filesystem::path& configDir) {
  configDir_ = configDir;
  TarvikCore& core = wiring_.createCore(
      {view_, prompter_, sound_, browser_, launcher_, transport_, app::programDataDirectories()}, configDir);
  prompter_.attach(&core);
  return core;
}

void HeadlessFrontEnd::settingsUnreadable(const std::filesystem::path& configDir, const std::filesystem::path&,
                                          const std::string& reason) {
  std::fprintf(stderr, "tarvik: cannot read the settings in %s: %s\n", configDir.c_str(), reason.c_str());
}

bool HeadlessFrontEnd::routerAddressMissing(TarvikCore& core) {
  // A broken [Tarvik] header is a common reason for it.
  if (!core.settingsNotice().empty()) std::fprintf(stderr, "tarvik: %s\n", core.settingsNotice().c_str());
  std::fprintf(stderr, "tarvik: no router address: set SOHOIP=<address> in the [Tarvik] section of %s\n",
               core.files().iniPath().c_str());
  return false;
}

bool HeadlessFrontEnd::settingsLoaded(TarvikCore& core) {
  SettingsStore settings = core.settings();
  if (!settings.secret.KEYRING) return true;
  std::string problem;
  std::unique_ptr<SecretStore> secrets = makeSecretStore(configDir_, {}, &problem);
  if (secrets) PasswordKeeper(*secrets).fetch(settings, [&](const std::string& p) { problem = p; });
  if (problem.empty()) {
    core.applySettings(settings);
    return true;
  }
  std::fprintf(stderr,
               "tarvik: the router password is kept in the desktop keyring ([SECRET] KEYRING=1 in %s), "
               "and it cannot be read from here: %s\n",
               core.files().iniPath().c_str(), problem.c_str());
  return false;
}

void HeadlessFrontEnd::end() {
  if (ended_) return;
  ended_ = true;
  if (TarvikCore* core = wiring_.core()) core->FormClose();
  out_.write("quit", {});
  loop_.stop();
}

int HeadlessFrontEnd::run(TarvikCore& core) {
  signals_ = std::make_unique<Signals>(loop_, [this] { end(); });
  door_ = std::make_unique<UvInstanceDoor>(
      loop_, instanceDoorPath(), [&core](const std::vector<std::string>& words) { core.SecondStart(words); });
  if (!door_->problem().empty()) {
    std::fprintf(stderr, "tarvik: a second start cannot reach this one: %s\n", door_->problem().c_str());
  }
  core.FormShow();
  loop_.run();
  door_.reset();  // no second start reaches a program on its way out
  std::fflush(events_);
  return 0;
}

}  // namespace tarvik::app

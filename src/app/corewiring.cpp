#include "corewiring.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#ifndef TARVIK_DATA_FROM_BINDIR
#define TARVIK_DATA_FROM_BINDIR "../share/tarvik"
#endif
#ifndef TARVIK_DATA_FROM_LIBEXECDIR
#define TARVIK_DATA_FROM_LIBEXECDIR "../../share/tarvik"
#endif

namespace tarvik::app {
namespace {

namespace fs = std::filesystem;

// Where the program's own data (the default sounds) lies: beside the
// program in the build tree, then where it is installed (share/tarvik seen
// from bin/ and from libexec/tarvik/), then the system's data folders
// ($XDG_DATA_HOME, then each of $XDG_DATA_DIRS).
std::vector<fs::path> programDataDirectories() {
  std::vector<fs::path> dirs;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path exeDir = exe.parent_path();
    dirs.push_back(exeDir);
    for (const char* dataDir : {TARVIK_DATA_FROM_BINDIR, TARVIK_DATA_FROM_LIBEXECDIR}) {
      dirs.push_back((exeDir / dataDir).lexically_normal());
    }
  }
  const char* home = std::getenv("HOME");
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && *dataHome) dirs.push_back(fs::path(dataHome) / "tarvik");
  else if (home && *home) dirs.push_back(fs::path(home) / ".local/share/tarvik");
  const char* dataDirs = std::getenv("XDG_DATA_DIRS");
  std::istringstream list(dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share");
  for (std::string dir; std::getline(list, dir, ':');) {
    if (!dir.empty()) dirs.push_back(fs::path(dir) / "tarvik");
  }
  std::vector<fs::path> unique;
  for (const fs::path& d : dirs) {
    if (std::find(unique.begin(), unique.end(), d) == unique.end()) unique.push_back(d);
  }
  return unique;
}

constexpr TimerId kTimers[] = {TimerId::Timer1, TimerId::Timer2, TimerId::TIMEMAN, TimerId::ExchangeWatchdog};

}  // namespace

CoreWiring::CoreWiring(Timers& timers, SetTimerHandler setTimerHandler, Clock& clock)
    : timers_(timers), setTimerHandler_(std::move(setTimerHandler)), clock_(clock) {}

CoreWiring::~CoreWiring() { destroyCore(); }

TransportEvents CoreWiring::transportEvents() {
  // Events that arrive without a core (none should) are dropped.
  return TransportEvents{
      [this](SocketId s) {
        if (core_) core_->AsyncSock1Connect(s);
      },
      [this](SocketId s, std::string_view bytes) {
        if (core_) core_->AsyncSock1Receive(s, bytes);
      },
      [this](SocketId s) {
        if (core_) core_->AsyncSock1Close(s);
      },
  };
}

void CoreWiring::destroyCore() {
  for (TimerId id : kTimers) {
    timers_.stop(id);
    setTimerHandler_(id, nullptr);
  }
  core_.reset();
}

TarvikCore& CoreWiring::createCore(const Ports& p, const std::filesystem::path& configDir) {
  CorePorts ports{p.view, p.transport, timers_, p.sound, p.launcher, p.browser, clock_, p.prompter};
  core_ = std::make_unique<TarvikCore>(ports, SettingsFiles(configDir));
  core_->setDataDirectories(programDataDirectories());
  TarvikCore& core = *core_;
  setTimerHandler_(TimerId::Timer1, [&core] { core.Timer1Timer(); });
  setTimerHandler_(TimerId::Timer2, [&core] { core.Timer2Timer(); });
  setTimerHandler_(TimerId::TIMEMAN, [&core] { core.TIMEMANTimer(); });
  setTimerHandler_(TimerId::ExchangeWatchdog, [&core] { core.ExchangeWatchdogTimer(); });
  return core;
}

}  // namespace tarvik::app

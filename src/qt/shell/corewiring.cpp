#include "shell/corewiring.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#ifndef TARVIK_DATA_FROM_BINDIR
#define TARVIK_DATA_FROM_BINDIR "../share/tarvik"
#endif
#ifndef TARVIK_DATA_FROM_LIBEXECDIR
#define TARVIK_DATA_FROM_LIBEXECDIR "../../share/tarvik"
#endif

namespace tarvik::app {
namespace {

// Where the program's own data (the default sounds) lies: beside the
// program in the build tree, then where it is installed (share/tarvik seen
// from bin/ and from libexec/tarvik/), then the system's data folders.
std::vector<std::filesystem::path> programDataDirectories() {
  QStringList dirs;
  const QString exeDir = QCoreApplication::applicationDirPath();
  if (!exeDir.isEmpty()) {
    dirs << exeDir;
    for (const char* dataDir : {TARVIK_DATA_FROM_BINDIR, TARVIK_DATA_FROM_LIBEXECDIR}) {
      dirs << QDir::cleanPath(QDir(exeDir).filePath(QString::fromUtf8(dataDir)));
    }
  }
  for (const QString& dataDir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
    dirs << QDir(dataDir).filePath(QStringLiteral("tarvik"));
  }
  dirs.removeDuplicates();
  std::vector<std::filesystem::path> result;
  for (const QString& dir : dirs) result.emplace_back(dir.toStdString());
  return result;
}

}  // namespace

CoreWiring::CoreWiring(const MakeTransport& makeTransport) {
  // Events that arrive without a core (none should) are dropped.
  transport_ = makeTransport(TransportEvents{
      [this](SocketId s) {
        if (core_) core_->AsyncSock1Connect(s);
      },
      [this](SocketId s, std::string_view bytes) {
        if (core_) core_->AsyncSock1Receive(s, bytes);
      },
      [this](SocketId s) {
        if (core_) core_->AsyncSock1Close(s);
      },
  });
}

// The core goes first: its ports (the adapters) must outlive it.
CoreWiring::~CoreWiring() { destroyCore(); }

void CoreWiring::destroyCore() {
  for (TimerId id : {TimerId::Timer1, TimerId::Timer2, TimerId::TIMEMAN, TimerId::ExchangeWatchdog}) {
    timers_.stop(id);
    timers_.setHandler(id, nullptr);
  }
  core_.reset();
}

TarvikCore& CoreWiring::createCore(const Ports& p, const std::filesystem::path& configDir) {
  CorePorts ports{p.view,
                  *transport_,
                  timers_,
                  p.sound,
                  p.launcher ? *p.launcher : static_cast<Launcher&>(launcher_),
                  p.browser,
                  clock_,
                  p.prompter};
  core_ = std::make_unique<TarvikCore>(ports, SettingsFiles(configDir));
  TarvikCore& core = *core_;
  core.setDataDirectories(programDataDirectories());
  timers_.setHandler(TimerId::Timer1, [&core] { core.Timer1Timer(); });
  timers_.setHandler(TimerId::Timer2, [&core] { core.Timer2Timer(); });
  timers_.setHandler(TimerId::TIMEMAN, [&core] { core.TIMEMANTimer(); });
  timers_.setHandler(TimerId::ExchangeWatchdog, [&core] { core.ExchangeWatchdogTimer(); });
  return core;
}

}  // namespace tarvik::app

#include "qt/adapters/qtlauncher.h"

#include <QProcess>
#include <QStringList>
#include <QTimer>

#include "app/commandline.h"

namespace tarvik {

// A QProcess that can let go of a still-running child: QProcess would kill
// it on destruction.
class QtLauncher::Child : public QProcess {
 public:
  QTimer killTimer;

  void letGo() {
    if (state() != QProcess::NotRunning) setProcessState(QProcess::NotRunning);
  }
};

QtLauncher::QtLauncher(int killAfterMs) : killAfterMs_(killAfterMs) {}

QtLauncher::~QtLauncher() {
  for (auto& [handle, child] : children_) {
    child->disconnect();
    child->killTimer.stop();
    child->letGo();
  }
}

ProcessHandle QtLauncher::start(const std::string& commandLine) {
  return startProgram(splitProgramLine(commandLine, isExecutableProgram));
}

ProcessHandle QtLauncher::startProgram(const std::vector<std::string>& argv) {
  if (argv.empty() || argv.front().empty()) return kNoProcess;
  auto child = std::make_unique<Child>();
  QStringList arguments;
  for (std::size_t i = 1; i < argv.size(); ++i) arguments << QString::fromStdString(argv[i]);
  child->setProgram(QString::fromStdString(argv.front()));
  child->setArguments(arguments);
  child->setProcessChannelMode(QProcess::ForwardedChannels);
  child->setStandardInputFile(QProcess::nullDevice());
  child->start();
  // QProcess learns whether the exec worked from the child itself; this
  // answer comes back within the fork, not after the program's start-up.
  if (!child->waitForStarted(1000) && child->state() == QProcess::NotRunning) return kNoProcess;

  const ProcessHandle handle = next_++;
  Child* raw = child.get();
  child->killTimer.setSingleShot(true);
  QObject::connect(&child->killTimer, &QTimer::timeout, raw, [raw] {
    if (raw->state() != QProcess::NotRunning) raw->kill();
  });
  // A child that has ended is reaped by QProcess; its record is dropped
  // once control is back in the event loop.
  QObject::connect(raw, &QProcess::finished, raw, [this, handle, raw] {
    raw->killTimer.stop();
    QMetaObject::invokeMethod(
        raw, [this, handle] { forget(handle); }, Qt::QueuedConnection);
  });
  children_.emplace(handle, std::move(child));
  return handle;
}

void QtLauncher::end(ProcessHandle process) {
  auto it = children_.find(process);
  if (it == children_.end()) return;  // never ours, or already ended
  Child& child = *it->second;
  if (child.state() != QProcess::Running) return;
  child.terminate();
  if (!child.killTimer.isActive()) child.killTimer.start(killAfterMs_);
}

bool QtLauncher::isRunning(ProcessHandle process) const {
  auto it = children_.find(process);
  return it != children_.end() && it->second->state() != QProcess::NotRunning;
}

qint64 QtLauncher::pid(ProcessHandle process) const {
  auto it = children_.find(process);
  return it == children_.end() ? 0 : it->second->processId();
}

void QtLauncher::forget(ProcessHandle process) {
  auto it = children_.find(process);
  if (it == children_.end()) return;
  // Deleted later: we may be inside one of its own signals.
  it->second.release()->deleteLater();
  children_.erase(it);
}

}  // namespace tarvik

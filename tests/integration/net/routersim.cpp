#include "routersim.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTcpSocket>

namespace tarvik::testing {

RouterSim::RouterSim(const QStringList& extraArgs) {
  QStringList args{"--address", "127.0.0.1", "--port", "0", "--control-port", "0", "--seed", "7"};
  args += extraArgs;
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QStringLiteral(TARVIK_ROUTER_SIM), args);
  if (!process_.waitForStarted(5000)) return;
  QDeadlineTimer deadline(10000);
  int console = 0;
  while (!deadline.hasExpired()) {
    if (!process_.canReadLine() && !process_.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
      break;
    while (process_.canReadLine()) {
      const QString line = QString::fromUtf8(process_.readLine()).trimmed();
      const QStringList words = line.split(' ');
      if (words.size() == 4 && words[0] == "listening" && words[1] == "console") console = words[3].toInt();
      if (words.size() == 4 && words[0] == "listening" && words[1] == "control")
        controlPort_ = words[3].toInt();
      if (line == "ready") {
        consolePort_ = console;
        return;
      }
    }
  }
}

RouterSim::~RouterSim() {
  if (process_.state() != QProcess::NotRunning) {
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
}

QString RouterSim::control(const QString& request) {
  QTcpSocket socket;
  socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(controlPort_));
  if (!socket.waitForConnected(3000)) return {};
  socket.write((request + "\n").toUtf8());
  QDeadlineTimer deadline(3000);
  while (!socket.canReadLine() && !deadline.hasExpired()) socket.waitForReadyRead(100);
  return QString::fromUtf8(socket.readLine()).trimmed();
}

int RouterSim::sessions() {
  static const QRegularExpression kSessions(QStringLiteral("sessions=(\\d+)"));
  const auto match = kSessions.match(control(QStringLiteral("state")));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

}  // namespace tarvik::testing

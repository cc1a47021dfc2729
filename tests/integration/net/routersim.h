#pragma once
// Runs tarvik-router-sim on a free loopback port for one test.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tarvik::testing {

class RouterSim {
 public:
  // Starts the simulator with the extra arguments and waits for "ready".
  explicit RouterSim(const QStringList& extraArgs = {});
  ~RouterSim();

  bool ready() const { return consolePort_ > 0; }
  int consolePort() const { return consolePort_; }
  // One control-protocol request; returns its answer line ("OK ...").
  QString control(const QString& request);
  // The "sessions=N" figure of the control state line (-1 if unknown).
  int sessions();

 private:
  QProcess process_;
  int consolePort_ = 0;
  int controlPort_ = 0;
};

}  // namespace tarvik::testing

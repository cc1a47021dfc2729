#pragma once
// The shared simulator harness (sim/simharness.h) with the Qt texts the
// socket tests use: one simulator on free loopback ports per test.

#include <QString>
#include <QStringList>
#include <memory>

#include "sim/simharness.h"

namespace tarvik::testing {

class RouterSim {
 public:
  // Starts the simulator with the extra arguments and waits for "ready".
  explicit RouterSim(const QStringList& extraArgs = {});

  bool ready() const { return sim_ != nullptr; }
  int consolePort() const { return sim_ ? sim_->console : 0; }
  // One control-protocol request; returns its answer line ("OK ...").
  QString control(const QString& request);
  // The "sessions=N" figure of the control state line (-1 if unknown).
  int sessions();

 private:
  std::unique_ptr<simtest::Sim> sim_;
};

}  // namespace tarvik::testing

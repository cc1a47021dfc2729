#include "routersim.h"

#include <QRegularExpression>
#include <exception>

namespace tarvik::testing {

RouterSim::RouterSim(const QStringList& extraArgs) {
  // The simulator's own call timing, unless a test asks for another.
  std::vector<std::string> args{"--connect-delay-ms", "2000"};
  for (const QString& a : extraArgs) args.push_back(a.toStdString());
  try {
    sim_ = std::make_unique<simtest::Sim>(args);
  } catch (const std::exception&) {
    sim_.reset();  // ready() says so
  }
}

QString RouterSim::control(const QString& request) {
  return sim_ ? QString::fromStdString(sim_->control(request.toStdString())).trimmed() : QString();
}

int RouterSim::sessions() {
  static const QRegularExpression kSessions(QStringLiteral("sessions=(\\d+)"));
  const auto match = kSessions.match(control(QStringLiteral("state")));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

}  // namespace tarvik::testing

#include "controlserver.h"

#include <QTcpSocket>
#include <charconv>

#include "options.h"
#include "router.h"
#include "sjistext.h"

namespace sim {
namespace {

bool destinationArg(const std::string& arg, int& n) {
  auto [ptr, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), n);
  return ec == std::errc() && ptr == arg.data() + arg.size() && !arg.empty() && n >= 0 && n <= 15;
}

using Run = std::string (*)(Router&, const std::string& arg);

std::string needDestination() { return "ERR expected a destination number 0-15"; }

// busy, unbusy, failing, unfailing: a flag of one destination.
template <void (Router::*Set)(int, bool), bool On>
std::string destinationFlag(Router& r, const std::string& arg) {
  int n = 0;
  if (!destinationArg(arg, n)) return needDestination();
  (r.*Set)(n, On);
  return "OK";
}

std::string ring(Router& r, const std::string& arg) {
  // The number goes into the status block, whose values stay short.
  if (arg.empty() || arg.size() > 16 || arg.find_first_not_of("0123456789-") != std::string::npos)
    return "ERR expected a telephone number (digits and '-', at most 16)";
  const int ch = r.ring(arg);
  if (ch < 0) return "ERR no free channel";
  return std::string("OK ") + channelName(ch);
}

std::string stopRing(Router& r, const std::string&) { return r.stopRing() ? "OK" : "ERR nothing is ringing"; }

std::string hangup(Router& r, const std::string&) { return "OK " + std::to_string(r.hangup()); }

std::string history(Router& r, const std::string& arg) {
  if (arg.empty()) return "ERR expected a text";
  r.addHistory(sj(arg));
  return "OK";
}

template <bool On>
std::string fault(Router& r, const std::string& arg) {
  if (!On && arg == "all") {
    r.faults().clear();
    return "OK";
  }
  const auto f = faultFromName(arg);
  if (!f) return "ERR unknown fault (refuse hang silent split drip iac nul garbage cut slow flood)";
  if (On)
    r.faults().insert(*f);
  else
    r.faults().erase(*f);
  return "OK";
}

std::string set(Router& r, const std::string& arg) {
  struct Knob {
    const char* name;
    int Timing::*field;
    int low;
  };
  static constexpr Knob knobs[] = {{"connect-delay-ms", &Timing::connectDelayMs, 0},
                                   {"minute-ms", &Timing::minuteMs, 1},
                                   {"drip-ms", &Timing::dripMs, 0},
                                   {"split-ms", &Timing::splitMs, 0},
                                   {"slow-ms", &Timing::slowMs, 0}};
  const std::size_t blank = arg.find(' ');
  const std::string name = arg.substr(0, blank);
  const std::string value = blank == std::string::npos ? "" : arg.substr(blank + 1);
  for (const Knob& k : knobs) {
    if (name != k.name) continue;
    int ms = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), ms);
    if (ec != std::errc() || ptr != value.data() + value.size() || value.empty() || ms < k.low ||
        ms > 3600000)
      return "ERR expected milliseconds";
    r.timing().*k.field = ms;
    return "OK";
  }
  return "ERR unknown setting (connect-delay-ms minute-ms drip-ms split-ms slow-ms)";
}

std::string state(Router& r, const std::string&) { return "OK " + r.stateLine(); }

std::string password(Router& r, const std::string& arg) {
  r.setConsolePassword(arg);
  return "OK";
}

std::string help(Router&, const std::string&) {
  return "OK ring NUMBER | stop-ring | busy N | unbusy N | failing N | unfailing N | hangup | "
         "history TEXT | password [TEXT] | fault NAME | nofault NAME|all | set NAME MS | state | help | quit "
         "| "
         "shutdown";
}

struct Command {
  const char* name;
  bool takesArgument;
  Run run;
};

const Command kCommands[] = {
    {"ring", true, ring},
    {"stop-ring", false, stopRing},
    {"busy", true, destinationFlag<&Router::setBusy, true>},
    {"unbusy", true, destinationFlag<&Router::setBusy, false>},
    {"failing", true, destinationFlag<&Router::setFailing, true>},
    {"unfailing", true, destinationFlag<&Router::setFailing, false>},
    {"hangup", false, hangup},
    {"history", true, history},
    {"password", true, password},
    {"fault", true, fault<true>},
    {"nofault", true, fault<false>},
    {"set", true, set},
    {"state", false, state},
    {"help", false, help},
};

}  // namespace

std::string runControl(Router& router, const std::string& request, ControlAfter& after) {
  after = ControlAfter::Stay;
  std::string line = request;
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  const std::size_t blank = line.find(' ');
  const std::string word = line.substr(0, blank);
  const std::string arg = blank == std::string::npos ? "" : line.substr(line.find_first_not_of(' ', blank));
  if (word == "quit") {
    after = ControlAfter::Quit;
    return "OK bye";
  }
  if (word == "shutdown") {
    after = ControlAfter::Shutdown;
    return "OK shutting down";
  }
  for (const Command& c : kCommands) {
    if (word != c.name) continue;
    if (!c.takesArgument && !arg.empty()) return "ERR " + word + " takes no argument";
    return c.run(router, arg);
  }
  return word.empty() ? "ERR empty request" : "ERR unknown command " + word + " (try help)";
}

ControlServer::ControlServer(Router& router, QObject* parent) : QObject(parent), router_(router) {
  connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

bool ControlServer::listen(quint16 port) { return server_.listen(QHostAddress::LocalHost, port); }

void ControlServer::accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    socket->setParent(this);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
      while (socket->canReadLine()) {
        const QByteArray raw = socket->readLine(4096);
        std::string request = raw.toStdString();
        while (!request.empty() && (request.back() == '\n' || request.back() == '\r')) request.pop_back();
        ControlAfter after = ControlAfter::Stay;
        socket->write(QByteArray::fromStdString(runControl(router_, request, after) + "\n"));
        if (after == ControlAfter::Quit) {
          socket->disconnectFromHost();
          return;
        }
        if (after == ControlAfter::Shutdown) {
          socket->flush();
          if (onShutdown) onShutdown();
          return;
        }
      }
    });
  }
}

}  // namespace sim

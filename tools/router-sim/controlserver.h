#pragma once
// The control port: a line protocol on loopback through which tests and
// demos play the network's and the other parties' side (incoming calls,
// busy or failing destinations, dropped lines) and switch fault modes.
// Requests are UTF-8 text lines; each gets one line back, "OK[ data]" or
// "ERR reason". helpText() in options.cpp documents the commands.

#include <QObject>
#include <QTcpServer>
#include <functional>
#include <string>

namespace sim {

class Router;

enum class ControlAfter { Stay, Quit, Shutdown };

// Runs one control request and returns the reply line (without line end).
std::string runControl(Router& router, const std::string& request, ControlAfter& after);

class ControlServer : public QObject {
 public:
  ControlServer(Router& router, QObject* parent = nullptr);
  bool listen(quint16 port);
  quint16 port() const { return server_.serverPort(); }
  std::function<void()> onShutdown;

 private:
  void accept();
  Router& router_;
  QTcpServer server_;
};

}  // namespace sim

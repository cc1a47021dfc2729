// tarvik-router-sim: a stand-in for the MN128-SOHO router's telnet console,
// its web pages and a control port, for trying Tarvik over real sockets.

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "controlserver.h"
#include "links.h"
#include "options.h"
#include "router.h"
#include "session.h"
#include "webserver.h"

namespace {

// The console's listening socket: a session per connection, all on one router.
class ConsoleServer : public QObject {
 public:
  explicit ConsoleServer(sim::Router& router) : router_(router) {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        auto* session = new sim::Session(router_, std::make_unique<sim::TcpLink>(socket), this);
        session->onEnded = [session] { session->deleteLater(); };
        session->start();
      }
    });
  }
  bool listen(const QHostAddress& address, quint16 port) { return server_.listen(address, port); }
  quint16 port() const { return server_.serverPort(); }
  QString error() const { return server_.errorString(); }

 private:
  sim::Router& router_;
  QTcpServer server_;
};

void announce(const char* what, const std::string& address, quint16 port) {
  std::printf("listening %s %s %u\n", what, address.c_str(), static_cast<unsigned>(port));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  sim::Options options;
  if (std::string err = sim::parseOptions(args, options); !err.empty()) {
    std::fprintf(stderr, "tarvik-router-sim: %s\n", err.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(sim::helpText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::fputs(sim::versionText().c_str(), stdout);
    return 0;
  }

  sim::Router router(options);
  const QHostAddress address(QString::fromStdString(options.address));
  if (address.isNull()) {
    std::fprintf(stderr, "tarvik-router-sim: --address: not an IP address: %s\n", options.address.c_str());
    return 2;
  }

  sim::ControlServer control(router);
  control.onShutdown = [] { QCoreApplication::quit(); };
  if (options.controlPort >= 0 && !control.listen(static_cast<quint16>(options.controlPort))) {
    std::fprintf(stderr, "tarvik-router-sim: cannot listen on control port %d\n", options.controlPort);
    return 1;
  }
  sim::WebServer web(router);
  if (options.httpPort >= 0 && !web.listen(address, static_cast<quint16>(options.httpPort))) {
    std::fprintf(stderr, "tarvik-router-sim: cannot listen on http port %d\n", options.httpPort);
    return 1;
  }

  if (options.stdio) {
    // Standard output is the console here, so nothing else may be printed.
    sim::Session session(router, std::make_unique<sim::StdioLink>());
    session.onEnded = [] { QCoreApplication::quit(); };
    session.start();
    return app.exec();
  }

  ConsoleServer console(router);
  if (!console.listen(address, static_cast<quint16>(options.port))) {
    std::fprintf(stderr, "tarvik-router-sim: cannot listen on %s port %d: %s\n", options.address.c_str(),
                 options.port, console.error().toLocal8Bit().constData());
    return 1;
  }
  announce("console", options.address, console.port());
  if (options.controlPort >= 0) announce("control", "127.0.0.1", control.port());
  if (options.httpPort >= 0) announce("http", options.address, web.port());
  std::puts("ready");
  std::fflush(stdout);
  return app.exec();
}

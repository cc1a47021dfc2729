#pragma once
// The router's small web server: one page per configuration or report path,
// served under the plain name and under the name with ".cgi", so that both
// router variants' addresses lead somewhere. Pages are Shift-JIS HTML.

#include <QObject>
#include <QTcpServer>
#include <string>
#include <vector>

namespace sim {

class Router;

// The page names the server knows (without ".cgi").
const std::vector<std::string>& webPageNames();

// The whole HTTP response for one request line ("GET /path HTTP/1.0").
std::string webResponse(Router& router, const std::string& requestLine);

class WebServer : public QObject {
 public:
  WebServer(Router& router, QObject* parent = nullptr);
  bool listen(const QHostAddress& address, quint16 port);
  quint16 port() const { return server_.serverPort(); }

 private:
  void accept();
  Router& router_;
  QTcpServer server_;
};

}  // namespace sim

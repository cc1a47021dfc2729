#include "webserver.h"

#include <QTcpSocket>
#include <charconv>
#include <memory>

#include "reports.h"
#include "router.h"
#include "sjistext.h"

namespace sim {
namespace {

std::string escape(const std::string& text) {
  std::string out;
  for (char ch : text) {
    switch (ch) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(ch);
    }
  }
  return out;
}

// A console report shown as preformatted text (its LF CR ends become LF).
std::string pre(const std::string& report) {
  std::string text;
  for (std::size_t i = 0; i < report.size(); ++i) {
    if (report[i] == '\r' && i > 0 && report[i - 1] == '\n') continue;
    text.push_back(report[i]);
  }
  return "<pre>" + escape(text) + "</pre>\n";
}

std::string row(const std::vector<std::string>& cells) {
  std::string out = "<tr>";
  for (const std::string& c : cells) out += "<td>" + escape(c) + "</td>";
  return out + "</tr>\n";
}

std::string query(const std::string& q, const std::string& key) {
  const std::string k = key + "=";
  std::size_t at = 0;
  while (at < q.size()) {
    const std::size_t end = q.find('&', at);
    const std::string item = q.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (item.rfind(k, 0) == 0) return item.substr(k.size());
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return {};
}

std::string disconnectPage(Router& r, const std::string& q) {
  std::string out;
  const std::string dis = query(q, "dis");
  const std::string co = query(q, "co");
  if (dis == "a" || dis == "b1" || dis == "b2")
    out += pre(r.disconnect(dis == "a" ? -1 : dis == "b1" ? 0 : 1));
  int n = -1;
  if (!co.empty() && std::from_chars(co.data(), co.data() + co.size(), n).ec == std::errc())
    out += pre(r.dial(n));
  out += pre(statusReport(r));
  out += "<p><a href=\"disconnect?dis=b1\">" + sj("B1切断") + "</a> <a href=\"disconnect?dis=b2\">" +
         sj("B2切断") + "</a> <a href=\"disconnect?dis=a\">" + sj("全切断") + "</a></p>\n<ul>\n";
  for (int i = 0; i < 16; ++i) {
    if (r.destinations()[i].number.empty()) continue;
    out += "<li><a href=\"disconnect?co=" + std::to_string(i) + "\">" + escape(r.destLabel(i)) +
           sj(" へ接続") + "</a></li>\n";
  }
  return out + "</ul>\n";
}

std::string destinationsPage(Router& r, const std::string&) {
  std::string out = "<table border=\"1\">\n" + row({sj("番号"), sj("接続先名"), sj("相手番号"), sj("モード"),
                                                    sj("自動切断(秒)"), sj("ID/パスワード")});
  for (int i = 0; i < 16; ++i) {
    const Destination& d = r.destinations()[i];
    out += row({"#" + std::to_string(i), d.name, d.number, d.mode,
                d.number.empty() ? "" : std::to_string(d.idleTimeoutSec),
                d.perCall ? sj("接続時に入力") : d.userId});
  }
  return out + "</table>\n";
}

std::string bodyPage(Router& r, const std::string&) {
  return pre(versionReport(r)) + "<table border=\"1\">\n" +
         row({sj("コンソールパスワード"), r.password().empty() ? sj("なし") : sj("設定済み")}) +
         row({sj("時計"), r.now().toString("yyyy/MM/dd hh:mm:ss").toStdString()}) +
         row({sj("漢字コード"), std::string(1, r.kanjiCode())}) + "</table>\n";
}

std::string ipPage(Router&, const std::string&) {
  return "<table border=\"1\">\n" + row({sj("LAN側IPアドレス"), "192.168.0.1"}) +
         row({sj("サブネットマスク"), "255.255.255.0"}) + row({sj("DHCPサーバ"), sj("使用する")}) +
         row({sj("割り当て範囲"), "192.168.0.2 - 192.168.0.33"}) + row({"NAT", sj("使用する")}) +
         "</table>\n";
}

std::string isdnPage(Router&, const std::string&) {
  return "<table border=\"1\">\n" + row({sj("回線種別"), sj("INSネット64")}) +
         row({sj("自局番号"), "0311112222"}) + row({sj("サブアドレス"), sj("なし")}) +
         row({sj("BOD"), sj("使用する（しきい値 70%）")}) + "</table>\n";
}

std::string analogPage(Router&, const std::string&) {
  return "<table border=\"1\">\n" + row({sj("ポート"), sj("着信"), sj("発信番号通知"), sj("識別着信")}) +
         row({sj("アナログ1"), sj("する"), sj("通知する"), "0311112222"}) +
         row({sj("アナログ2"), sj("する"), sj("通知しない"), "0311113333"}) + "</table>\n";
}

std::string erasePage(Router&, const std::string&) {
  return "<p>" + sj("すべての設定を消去し、工場出荷時の状態に戻します。") +
         "</p>\n<form action=\"erase-config\" method=\"get\"><input type=\"hidden\" name=\"confirm\" "
         "value=\"1\"><input type=\"submit\" value=\"" +
         sj("設定を消去する") + "\"></form>\n";
}

std::string configPage(Router& r, const std::string& q) {
  return bodyPage(r, q) + ipPage(r, q) + isdnPage(r, q) + analogPage(r, q) + destinationsPage(r, q);
}

std::string routePage(Router& r, const std::string&) {
  std::string out = "<table border=\"1\">\n" + row({sj("宛先"), sj("ゲートウェイ"), sj("インタフェース")}) +
                    row({"192.168.0.0/24", "-", "LAN"});
  for (int ch = 0; ch < 2; ++ch) {
    const Channel& c = r.channels()[ch];
    if (c.phase == Phase::Connected) out += row({"0.0.0.0/0", c.peerIp, channelName(ch)});
  }
  return out + "</table>\n";
}

std::string historyPage(Router& r, const std::string&) {
  return pre(historyReport(r)) + pre(analogHistoryReport(r));
}

std::string chargePage(Router& r, const std::string&) { return pre(chargeReport(r)); }

struct Page {
  const char* name;
  const char* title;
  std::string (*body)(Router&, const std::string& query);
};

// Both variants' names: config-body and config-analog, and the ".cgi" names
// config-sys and config-analog-port of the -S router.
const Page kPages[] = {
    {"disconnect", "切断／接続状況", disconnectPage},
    {"config-rlist", "自動接続先設定", destinationsPage},
    {"config-body", "本体設定", bodyPage},
    {"config-sys", "本体設定", bodyPage},
    {"config-ip", "IP設定", ipPage},
    {"config-isdn", "ISDN設定", isdnPage},
    {"config-analog", "アナログポート設定", analogPage},
    {"config-analog-port", "アナログポート設定", analogPage},
    {"erase-config", "設定の消去", erasePage},
    {"show-config", "設定情報", configPage},
    {"show-ip-route", "IP経路情報", routePage},
    {"show-history", "接続・切断ログ情報", historyPage},
    {"show-charge", "通信料金情報", chargePage},
};

std::string html(const std::string& title, const std::string& body) {
  return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
         "<title>MN128-SOHO " +
         title + "</title></head>\n<body>\n<h1>" + title + "</h1>\n" + body + "</body></html>\n";
}

std::string response(const char* status, const std::string& body, bool head) {
  return std::string("HTTP/1.0 ") + status +
         "\r\nContent-Type: text/html; charset=Shift_JIS\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + (head ? "" : body);
}

std::string indexPage() {
  std::string out = "<ul>\n";
  for (const Page& p : kPages) {
    out += "<li><a href=\"" + std::string(p.name) + "\">" + sj(p.title) + "</a> (<a href=\"" + p.name +
           ".cgi\">.cgi</a>)</li>\n";
  }
  return out + "</ul>\n";
}

}  // namespace

const std::vector<std::string>& webPageNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (const Page& p : kPages) v.push_back(p.name);
    return v;
  }();
  return names;
}

std::string webResponse(Router& router, const std::string& requestLine) {
  const std::size_t s1 = requestLine.find(' ');
  const std::size_t s2 = s1 == std::string::npos ? s1 : requestLine.find(' ', s1 + 1);
  const std::string method = requestLine.substr(0, s1);
  if (s1 == std::string::npos) return response("400 Bad Request", html("400", ""), false);
  if (method != "GET" && method != "HEAD") return response("405 Method Not Allowed", html("405", ""), false);
  const bool head = method == "HEAD";
  std::string target = requestLine.substr(s1 + 1, s2 == std::string::npos ? std::string::npos : s2 - s1 - 1);
  std::string q;
  if (const std::size_t mark = target.find('?'); mark != std::string::npos) {
    q = target.substr(mark + 1);
    target.resize(mark);
  }
  while (!target.empty() && target.front() == '/') target.erase(0, 1);
  if (target.empty() || target == "index.html") return response("200 OK", html("", indexPage()), head);
  if (target.size() > 4 && target.compare(target.size() - 4, 4, ".cgi") == 0)
    target.resize(target.size() - 4);
  for (const Page& p : kPages) {
    if (target == p.name) return response("200 OK", html(sj(p.title), p.body(router, q)), head);
  }
  return response("404 Not Found", html("404 Not Found", "<p>" + escape(target) + "</p>\n"), head);
}

WebServer::WebServer(Router& router, QObject* parent) : QObject(parent), router_(router) {
  connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

bool WebServer::listen(const QHostAddress& address, quint16 port) { return server_.listen(address, port); }

void WebServer::accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    socket->setParent(this);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    auto request = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
      // Answer once the whole request head is in (so that nothing unread
      // is left when the socket closes); only its first line matters.
      request->append(socket->readAll());
      if (request->size() > 16384) {
        socket->abort();
        return;
      }
      const bool complete = request->contains("\r\n\r\n") || request->contains("\n\n");
      if (!complete || socket->property("answered").toBool()) return;
      socket->setProperty("answered", true);
      std::string line = request->left(request->indexOf('\n')).toStdString();
      while (!line.empty() && line.back() == '\r') line.pop_back();
      socket->write(QByteArray::fromStdString(webResponse(router_, line)));
      socket->disconnectFromHost();
    });
  }
}

}  // namespace sim

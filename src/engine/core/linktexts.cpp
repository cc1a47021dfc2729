#include "engine/core/linktexts.h"

namespace tarvik::texts {

namespace {

// "[::1]:23" for an IPv6 address, "192.168.0.1:23" otherwise.
std::string hostAndPort(const std::string& host, int port) {
  const bool ipv6 = host.find(':') != std::string::npos;
  return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

}  // namespace

std::string connectFailureText(ConnectFailure failure, const std::string& host, int port,
                               const std::string& systemText) {
  const std::string where = hostAndPort(host, port);
  switch (failure) {
    case ConnectFailure::Refused:
      return "接続を拒否されました (" + where + ")。ルーターのアドレスを確認してください";
    case ConnectFailure::HostNotFound:
      return "ルーターのアドレス " + host + " が見つかりません。設定を確認してください";
    case ConnectFailure::TimedOut:
      return "ルーター (" + where + ") から応答がありません（タイムアウト）。電源と配線を確認してください";
    case ConnectFailure::Unreachable:
      return "ルーター (" + where + ") に届きません。ネットワークを確認してください";
    case ConnectFailure::Other:
      break;
  }
  return "ルーター (" + where + ") に接続できません: " + systemText;
}

const char* linkBackText(LinkFault fault) {
  return fault == LinkFault::LoginRefused ? kLoginBack : kLinkBack;
}

}  // namespace tarvik::texts

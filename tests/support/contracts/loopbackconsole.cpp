#include "contracts/loopbackconsole.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <stdexcept>

namespace tarvik::contracts {
namespace {

#ifdef _WIN32
using Fd = SOCKET;
constexpr int kSendFlags = 0;
constexpr int kShutSend = SD_SEND;
void closeFd(Fd fd) { ::closesocket(fd); }
bool valid(Fd fd) { return fd != INVALID_SOCKET; }

// Winsock for as long as a console or a port probe needs it.
struct WinsockUse {
  WinsockUse() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUse() { ::WSACleanup(); }
};
#else
using Fd = int;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client that went away is no signal
constexpr int kShutSend = SHUT_WR;
void closeFd(Fd fd) { ::close(fd); }
bool valid(Fd fd) { return fd >= 0; }
struct WinsockUse {};
#endif

Fd fd(std::intptr_t handle) { return static_cast<Fd>(handle); }

sockaddr_in loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<unsigned short>(port));
  return a;
}

// A socket bound to a free loopback port, and that port.
Fd boundSocket(int& port) {
  Fd s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (!valid(s)) throw std::runtime_error("no socket for the loopback console");
  sockaddr_in a = loopback(0);
  socklen_t length = sizeof a;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
    closeFd(s);
    throw std::runtime_error("cannot bind a loopback port");
  }
  port = ntohs(a.sin_port);
  return s;
}

void sendAll(Fd s, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const auto n = ::send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), kSendFlags);
    if (n <= 0) return;  // the client has gone: nothing more to tell it
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

LoopbackConsole::LoopbackConsole(std::string greeting, std::vector<ConsoleStep> steps)
    : greeting_(std::move(greeting)), steps_(std::move(steps)) {
  [[maybe_unused]] static WinsockUse winsock;
  const Fd s = boundSocket(port_);
  if (::listen(s, 16) != 0) {
    closeFd(s);
    throw std::runtime_error("cannot listen on loopback");
  }
  listener_ = static_cast<std::intptr_t>(s);
  acceptor_ = std::thread([this] { acceptLoop(); });
}

LoopbackConsole::~LoopbackConsole() {
  stopping_ = true;
  acceptor_.join();
  closeFd(fd(listener_));
  for (std::thread& t : connections_) t.join();
}

bool LoopbackConsole::readable(std::intptr_t handle) const {
  const Fd s = fd(handle);
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{0, 50 * 1000};
  return ::select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &wait) > 0;
}

// Polls with a short wait so that the destructor can stop it: a blocked
// accept() would not return when the listener is closed on Linux.
void LoopbackConsole::acceptLoop() {
  while (!stopping_) {
    if (!readable(listener_)) continue;
    const Fd c = ::accept(fd(listener_), nullptr, nullptr);
    if (!valid(c)) continue;
    const auto handle = static_cast<std::intptr_t>(c);
    connections_.emplace_back([this, handle] { serve(handle); });
  }
}

void LoopbackConsole::serve(std::intptr_t handle) {
  const Fd c = fd(handle);
  sendAll(c, greeting_);
  std::string pending;  // what arrived since the previous step
  char buffer[65536];
  // One read: false when the client closed, the connection broke or the
  // console stops.
  auto readSome = [&] {
    while (!stopping_) {
      if (!readable(handle)) continue;
      const auto n = ::recv(c, buffer, sizeof buffer, 0);
      if (n <= 0) return false;
      received_ += static_cast<std::size_t>(n);
      pending.append(buffer, static_cast<std::size_t>(n));
      return true;
    }
    return false;
  };
  for (const ConsoleStep& step : steps_) {
    std::size_t end = std::string::npos;
    while (true) {
      if (pending.size() >= step.bytes) {
        if (step.until.empty()) {
          end = step.bytes;
        } else if (const std::size_t at = pending.find(step.until); at != std::string::npos) {
          end = at + step.until.size();
        }
      }
      if (end != std::string::npos) break;
      if (!readSome()) {
        closeFd(c);
        return;
      }
    }
    pending.erase(0, end);
    sendAll(c, step.reply);
  }
  ::shutdown(c, kShutSend);
  while (readSome()) pending.clear();
  closeFd(c);
}

int unusedLoopbackPort() {
  [[maybe_unused]] static WinsockUse winsock;
  int port = 0;
  closeFd(boundSocket(port));
  return port;
}

}  // namespace tarvik::contracts

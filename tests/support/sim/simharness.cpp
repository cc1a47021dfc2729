#include "sim/simharness.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "engine/base/sjis.h"

namespace simtest {
namespace {

using Clock = std::chrono::steady_clock;

std::int64_t msSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool waitReadable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  int rc;
  do {
    rc = ::poll(&p, 1, timeoutMs);
  } while (rc < 0 && errno == EINTR);
  return rc > 0;
}

void sendAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error("send failed");
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

Child::Child(const std::vector<std::string>& argv, bool pipeStdin, bool pipeStdout) {
  int in[2] = {-1, -1}, out[2] = {-1, -1};
  if (pipeStdin && ::pipe(in) != 0) throw std::runtime_error("pipe");
  if (pipeStdout && ::pipe(out) != 0) throw std::runtime_error("pipe");
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    if (pipeStdin) ::dup2(in[0], STDIN_FILENO);
    if (pipeStdout) ::dup2(out[1], STDOUT_FILENO);
    for (int fd : {in[0], in[1], out[0], out[1]})
      if (fd >= 0) ::close(fd);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  if (pipeStdin) {
    ::close(in[0]);
    stdinFd = in[1];
  }
  if (pipeStdout) {
    ::close(out[1]);
    stdoutFd = out[0];
  }
}

Child::~Child() {
  if (stdinFd >= 0) ::close(stdinFd);
  if (!reaped_ && pid > 0) {
    ::kill(pid, SIGTERM);
    if (wait(2000) < 0) {
      ::kill(pid, SIGKILL);
      wait(2000);
    }
  }
  if (stdoutFd >= 0) ::close(stdoutFd);
}

void Child::closeStdin() {
  if (stdinFd >= 0) ::close(stdinFd);
  stdinFd = -1;
}

std::string Child::readLine(int timeoutMs) {
  const auto start = Clock::now();
  while (true) {
    if (auto nl = pending_.find('\n'); nl != std::string::npos) {
      std::string line = pending_.substr(0, nl);
      pending_.erase(0, nl + 1);
      return line;
    }
    const int left = timeoutMs - static_cast<int>(msSince(start));
    if (left <= 0 || !waitReadable(stdoutFd, left)) return {};
    char buf[4096];
    const ssize_t n = ::read(stdoutFd, buf, sizeof buf);
    if (n <= 0) return {};
    pending_.append(buf, static_cast<std::size_t>(n));
  }
}

int Child::wait(int timeoutMs) {
  if (reaped_) return status_;
  const auto start = Clock::now();
  while (true) {
    int status = 0;
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) {
      reaped_ = true;
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return status_;
    }
    if (msSince(start) >= timeoutMs) return -1;
    ::usleep(5000);
  }
}

Sim::Sim(std::vector<std::string> extraArgs)
    : child(
          [&] {
            std::vector<std::string> argv = {
                TARVIK_ROUTER_SIM,    "--port", "0", "--control-port", "0", "--http-port", "0", "--seed", "7",
                "--connect-delay-ms", "100"};
            argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
            return argv;
          }(),
          false, true) {
  while (true) {
    const std::string line = child.readLine(5000);
    if (line.empty()) throw std::runtime_error("simulator did not start");
    if (line == "ready") break;
    char what[32] = {};
    char address[64] = {};
    int port = 0;
    if (std::sscanf(line.c_str(), "listening %31s %63s %d", what, address, &port) != 3) continue;
    const std::string w = what;
    (w == "console" ? console : w == "control" ? controlPort : http) = port;
  }
  controlFd_ = connectTo(controlPort);
}

Sim::~Sim() {
  if (controlFd_ >= 0) ::close(controlFd_);
}

std::string Sim::control(const std::string& request) {
  sendAll(controlFd_, request + "\n");
  while (true) {
    if (auto nl = controlPending_.find('\n'); nl != std::string::npos) {
      std::string line = controlPending_.substr(0, nl);
      controlPending_.erase(0, nl + 1);
      return line;
    }
    if (!waitReadable(controlFd_, 3000)) return "(no reply)";
    char buf[4096];
    const ssize_t n = ::recv(controlFd_, buf, sizeof buf, 0);
    if (n <= 0) return "(closed)";
    controlPending_.append(buf, static_cast<std::size_t>(n));
  }
}

std::string Transcript::bytes() const {
  std::string all;
  for (const auto& c : chunks) all += c.bytes;
  return all;
}

int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    if (fd >= 0) ::close(fd);
    throw std::runtime_error("no free port");
  }
  ::close(fd);
  return ntohs(a.sin_port);
}

int connectTo(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    throw std::runtime_error("connect to port " + std::to_string(port) + " failed");
  }
  return fd;
}

Transcript readAll(int fd, int quietMs, int totalMs) {
  Transcript t;
  const auto start = Clock::now();
  while (true) {
    const int left = totalMs - static_cast<int>(msSince(start));
    if (left <= 0 || !waitReadable(fd, std::min(quietMs, left))) break;
    char buf[8192];
    const ssize_t n = ::read(fd, buf, sizeof buf);  // sockets and pipes alike
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      t.closedByPeer = true;
      break;
    }
    t.chunks.push_back({std::string(buf, static_cast<std::size_t>(n)), msSince(start)});
  }
  return t;
}

Transcript converse(int port, const std::string& send, int quietMs, int totalMs) {
  const int fd = connectTo(port);
  try {
    sendAll(fd, send);
  } catch (const std::exception&) {
    // The peer may already have closed (fault refuse); read what there is.
  }
  Transcript t = readAll(fd, quietMs, totalMs);
  ::close(fd);
  return t;
}

std::string loginBatch(const std::vector<std::string>& commands, const std::string& password,
                       const std::string& kanjiLine) {
  std::string b = "\radmin\r";
  if (!password.empty()) b += password + "\r";
  b += "sys kc s\r";
  for (const auto& c : commands) b += c + "\r";
  return b + kanjiLine + "\rl\r";
}

std::string exchange(int port, const std::vector<std::string>& commands, const std::string& password) {
  return u8(converse(port, loginBatch(commands, password)).bytes());
}

std::vector<std::string> lines(const std::string& output) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (true) {
    const std::size_t end = output.find("\n\r", at);
    if (end == std::string::npos) break;
    out.push_back(output.substr(at, end - at));
    at = end + 2;
  }
  out.push_back(output.substr(at));
  return out;
}

std::string u8(const std::string& sjis) { return tarvik::toUtf8(sjis); }
std::string sj(const std::string& utf8) { return tarvik::toSjis(utf8); }

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

std::string httpGet(int port, const std::string& path) {
  return converse(port, "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n", 3000, 5000).bytes();
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto start = Clock::now();
  while (!condition()) {
    if (msSince(start) >= timeoutMs) return false;
    ::usleep(20000);
  }
  return true;
}

bool waitForState(Sim& sim, const std::string& part, int timeoutMs) {
  std::string last;
  if (waitUntil([&] { return contains(last = sim.control("state"), part); }, timeoutMs)) return true;
  std::fprintf(stderr, "the simulator never showed \"%s\"; last: %s\n", part.c_str(), last.c_str());
  return false;
}

}  // namespace simtest

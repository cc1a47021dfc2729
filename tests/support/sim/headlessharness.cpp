#include "sim/headlessharness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tarvik::headless_test {
namespace fs = std::filesystem;

bool waitUntil(const std::function<bool()>& condition, Ms timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::usleep(20000);
  }
  return true;
}

namespace {

std::string unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    char c = s[++i];
    if (c == 't') out += '\t';
    else if (c == 'n') out += '\n';
    else if (c == 'r') out += '\r';
    else if (c == 'x' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else out += c;
  }
  return out;
}

using Clock = std::chrono::steady_clock;

}  // namespace

Line parseLine(const std::string& raw) {
  Line line;
  std::size_t start = 0;
  bool first = true;
  while (true) {
    std::size_t tab = raw.find('\t', start);
    std::string part = raw.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    if (first) line.kind = part;
    else line.fields.push_back(unescape(part));
    first = false;
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return line;
}

std::string Line::text() const {
  std::string t;
  for (std::size_t i = 0; i < fields.size(); ++i) t += (i ? "\t" : "") + fields[i];
  return t;
}

Child::~Child() {
  stop();
  if (out_ >= 0) ::close(out_);
}

void Child::start(const fs::path& program, const std::vector<std::string>& args, const fs::path& workDir,
                  const fs::path& errFile) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::vector<std::string> argvStore{program.string()};
  argvStore.insert(argvStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argvStore) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The programs of one test share a session of their own: its runtime
  // directory (where the single-instance lock lives) is in the work folder,
  // so tests that run at the same time never see each other's instance.
  const fs::path runtime = workDir / "run";
  ::mkdir(runtime.c_str(), 0700);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // No display: a router page asked for is printed, never opened.
    if (!keepDisplay_) {
      ::unsetenv("DISPLAY");
      ::unsetenv("WAYLAND_DISPLAY");
    }
    int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (::chdir(workDir.c_str()) != 0) _exit(127);
    ::dup2(pipeFds[1], 1);
    if (err >= 0) ::dup2(err, 2);
    ::execv(argv[0], argv.data());
    _exit(127);
  }
  ::close(pipeFds[1]);
  out_ = pipeFds[0];
  ::fcntl(out_, F_SETFL, O_NONBLOCK);
}

bool Child::running() {
  if (pid_ < 0 || status_) return false;
  int st = 0;
  if (::waitpid(pid_, &st, WNOHANG) == pid_) {
    status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return false;
  }
  return true;
}

std::optional<int> Child::wait(Ms timeout) {
  auto deadline = Clock::now() + timeout;
  while (running()) {
    if (Clock::now() >= deadline) return std::nullopt;
    readSome(20ms);  // keep the pipe drained so the child never blocks
  }
  drain(0ms);
  return status_;
}

void Child::signal(int sig) {
  if (running()) ::kill(pid_, sig);
}

void Child::stop() {
  if (!running()) return;
  ::kill(pid_, SIGTERM);
  if (!wait(5s)) {
    ::kill(pid_, SIGKILL);
    wait(5s);
  }
}

void Child::reset() {
  stop();
  if (out_ >= 0) ::close(out_);
  out_ = -1;
  pid_ = -1;
  status_.reset();
  partial_.clear();
  lines_.clear();
}

// True when something was read; false at the deadline or the end of output.
bool Child::readSome(Ms timeout) {
  if (out_ < 0) return false;
  pollfd p{out_, POLLIN, 0};
  int r = ::poll(&p, 1, static_cast<int>(timeout.count()));
  if (r <= 0) return false;
  char buf[4096];
  ssize_t n = ::read(out_, buf, sizeof buf);
  if (n <= 0) {
    if (n < 0 && errno == EAGAIN) return false;
    ::close(out_);
    out_ = -1;
    return false;
  }
  partial_.append(buf, static_cast<std::size_t>(n));
  std::size_t nl;
  while ((nl = partial_.find('\n')) != std::string::npos) {
    lines_.push_back(partial_.substr(0, nl));
    partial_.erase(0, nl + 1);
  }
  return true;
}

int Child::waitLine(const std::function<bool(const std::string&)>& pred, Ms timeout, std::size_t from) {
  auto deadline = Clock::now() + timeout;
  std::size_t next = from;
  while (true) {
    for (; next < lines_.size(); ++next) {
      if (pred(lines_[next])) return static_cast<int>(next);
    }
    auto left = std::chrono::duration_cast<Ms>(deadline - Clock::now());
    if (left.count() <= 0 || out_ < 0) return -1;
    readSome(std::min(left, Ms(100)));
  }
}

void Child::drain(Ms d) {
  auto deadline = Clock::now() + d;
  while (out_ >= 0) {
    auto left = std::chrono::duration_cast<Ms>(deadline - Clock::now());
    if (!readSome(std::max(left, Ms(0))) && left.count() <= 0) break;
  }
}

}  // namespace tarvik::headless_test

#pragma once
// Runs tarvik-router-sim as a child process and talks to it over loopback
// sockets, recording what arrives and when.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace simtest {

// A spawned program; optional pipes to its standard input and output.
class Child {
 public:
  Child(const std::vector<std::string>& argv, bool pipeStdin, bool pipeStdout);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // A line of standard output without its LF, or "" after timeoutMs.
  std::string readLine(int timeoutMs);
  // The exit status, or -1 when the child still runs after timeoutMs.
  int wait(int timeoutMs);
  void closeStdin();

  pid_t pid = -1;
  int stdinFd = -1;
  int stdoutFd = -1;

 private:
  std::string pending_;
  bool reaped_ = false;
  int status_ = 0;
};

// The simulator listening on free loopback ports, with its control port open.
class Sim {
 public:
  explicit Sim(std::vector<std::string> extraArgs = {});
  ~Sim();
  // One control request; returns the reply line.
  std::string control(const std::string& request);

  int console = 0;
  int controlPort = 0;
  int http = 0;
  Child child;

 private:
  int controlFd_ = -1;
  std::string controlPending_;
};

struct Chunk {
  std::string bytes;
  std::int64_t atMs = 0;  // since the connection was made
};

struct Transcript {
  std::vector<Chunk> chunks;
  bool closedByPeer = false;
  std::string bytes() const;
};

int connectTo(int port);

// A loopback TCP port that was free a moment ago.
int freePort();

// Connects, sends everything at once, then reads until the peer closes, or
// until nothing arrived for quietMs, or totalMs passed.
Transcript converse(int port, const std::string& send, int quietMs = 3000, int totalMs = 8000);
Transcript readAll(int fd, int quietMs, int totalMs);

// The client's login batch: CR "admin" CR [password CR] "sys kc s" CR,
// each command CR, the kanji line CR, "l" CR.
std::string loginBatch(const std::vector<std::string>& commands, const std::string& password = "",
                       const std::string& kanjiLine = "");

// Runs one exchange and returns the output decoded to UTF-8.
std::string exchange(int port, const std::vector<std::string>& commands, const std::string& password = "");

// Output split at "\n\r"; the text after the last line end comes last.
std::vector<std::string> lines(const std::string& output);

std::string u8(const std::string& sjis);
std::string sj(const std::string& utf8);
bool contains(const std::string& text, const std::string& part);
int count(const std::string& text, const std::string& part);

std::string httpGet(int port, const std::string& path);

// Asks `condition` every 20 ms until it holds; false when it still does not
// after timeoutMs. The deadline is generous: on a loaded machine an event
// may come late, but a test waiting for it should not fail.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000);

// Waits until the simulator's state line (control request "state")
// contains `part`; false, with the last line in the failure, at the deadline.
bool waitForState(Sim& sim, const std::string& part, int timeoutMs = 20000);

}  // namespace simtest

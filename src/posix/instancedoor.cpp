#include "posix/instancedoor.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "app/secondstart.h"
#include "app/singleinstance.h"

namespace tarvik::app {
namespace {

struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::filesystem::path instanceDoorIn(const std::filesystem::path& lockFolder) {
  return lockFolder / "Tarvik.sock";
}

std::filesystem::path instanceDoorPath() {
  const std::filesystem::path folder = SingleInstance::runtimeDir();
  return folder.empty() ? std::filesystem::path() : instanceDoorIn(folder);
}

bool knockOnInstanceDoor(const std::filesystem::path& door, const std::vector<std::string>& words,
                         std::string& problem, int timeoutMs) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (door.empty() || door.native().size() >= sizeof address.sun_path) {
    problem = "no door to knock on (" + door.string() + ")";
    return false;
  }
  std::memcpy(address.sun_path, door.c_str(), door.native().size());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
  // A program that has only just taken the lock opens its door a moment
  // later: a door not there yet is tried again until the deadline.
  while (socket.fd >= 0 &&
         ::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if ((errno != ENOENT && errno != ECONNREFUSED && errno != EINTR) ||
        std::chrono::steady_clock::now() > deadline) {
      problem = door.string() + ": " + std::strerror(errno);
      return false;
    }
    ::usleep(50 * 1000);
  }
  if (socket.fd < 0 || !writeAll(socket.fd, encodeSecondStart(words))) {
    problem = door.string() + ": " + std::strerror(errno);
    return false;
  }
  // The answer, or the running program's end without one.
  std::string answer;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
            .count();
    pollfd watched{socket.fd, POLLIN, 0};
    const int ready = left > 0 ? ::poll(&watched, 1, static_cast<int>(left)) : 0;
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[64];
    const ssize_t n = ::read(socket.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
    if (answer.size() > sizeof buffer) break;
  }
  if (answer == kSecondStartTaken) return true;
  problem = door.string() + ": the running program did not answer";
  return false;
}

}  // namespace tarvik::app

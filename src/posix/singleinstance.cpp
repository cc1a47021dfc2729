#include "app/singleinstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "posix/instancedoor.h"

namespace tarvik::app {

std::filesystem::path SingleInstance::runtimeDir(std::string* problem) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') return runtime;
  const std::filesystem::path dir = "/tmp/tarvik-" + std::to_string(::getuid());
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
    if (problem) *problem = dir.string() + ": " + std::strerror(errno);
    return {};
  }
  // A folder someone else made (or may write into) is no place for our
  // lock: another user could hold it for us.
  struct stat st{};
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
      (st.st_mode & 0077) != 0) {
    if (problem) *problem = dir.string() + ": not a private folder of this user";
    return {};
  }
  return dir;
}

SingleInstance::SingleInstance() {
  const std::filesystem::path dir = runtimeDir(&problem_);
  if (dir.empty()) {
    acquired_ = true;
    return;
  }
  lock(dir);
}

SingleInstance::SingleInstance(const std::filesystem::path& directory) { lock(directory); }

void SingleInstance::lock(const std::filesystem::path& directory) {
  directory_ = directory;
  const std::filesystem::path file = directory / "Tarvik.lock";
  // Close-on-exec: a program the user starts from Tarvik must not keep the
  // lock once Tarvik has ended.
  fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0) {
    problem_ = file.string() + ": " + std::strerror(errno);
    acquired_ = true;
    return;
  }
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    acquired_ = true;
    return;
  }
  if (errno != EWOULDBLOCK) {
    problem_ = file.string() + ": " + std::strerror(errno);
    acquired_ = true;
  }
}

bool SingleInstance::handOver(const std::vector<std::string>& words, std::string& problem) const {
  if (directory_.empty()) {
    problem = "no lock folder";
    return false;
  }
  return knockOnInstanceDoor(instanceDoorIn(directory_), words, problem);
}

SingleInstance::~SingleInstance() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace tarvik::app

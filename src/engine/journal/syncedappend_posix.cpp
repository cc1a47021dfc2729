#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/base/filebytes.h"
#include "engine/journal/syncedappend.h"

namespace tarvik {
namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

}  // namespace

std::error_code appendSynced(const std::filesystem::path& path, std::string_view bytes) {
  // Never waits in the open: a FIFO put in the file's place is refused.
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return lastError();
  std::error_code error;
  struct stat st {};
  if (::fstat(fd, &st) != 0) error = lastError();
  if (!error && !S_ISREG(st.st_mode)) error = notRegularFile();
  while (!error && !bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno != EINTR) error = lastError();
      continue;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (!error && ::fsync(fd) != 0) error = lastError();
  if (::close(fd) != 0 && !error) error = lastError();
  return error;
}

}  // namespace tarvik

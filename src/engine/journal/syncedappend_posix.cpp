#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "journal/syncedappend.h"

namespace tarvik {

bool appendSynced(const std::filesystem::path& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      ok = errno == EINTR;
      continue;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  ok = ok && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

}  // namespace tarvik

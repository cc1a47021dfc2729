#include "base/filebytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tarvik {
namespace {

// A name for the new file beside the target that no other writer in this or
// another process uses at the same time.
std::filesystem::path temporaryPathFor(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temporary = path;
  temporary += ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
  return temporary;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool replaceFileBytes(const std::filesystem::path& link, std::string_view bytes) {
  // A file kept elsewhere and linked here is replaced where it lies; the
  // link stays.
  std::error_code error;
  std::filesystem::path path =
      std::filesystem::is_symlink(link, error) ? std::filesystem::canonical(link, error) : link;
  if (error) path = link;
  struct stat old {};
  bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return false;
  if (!exists && path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);

  std::filesystem::path temporary = temporaryPathFor(path);
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  // The new file keeps the old one's permissions.
  bool ok = (!exists || ::fchmod(fd, old.st_mode & 07777) == 0) && writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace tarvik

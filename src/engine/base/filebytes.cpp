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

// The file a write through a link lands in: a file kept elsewhere and linked
// here is replaced where it lies, and the link stays.
std::filesystem::path linkTarget(const std::filesystem::path& link) {
  std::error_code error;
  std::filesystem::path path =
      std::filesystem::is_symlink(link, error) ? std::filesystem::canonical(link, error) : link;
  return error ? link : path;
}

}  // namespace

bool createPrivateDirectories(const std::filesystem::path& dir) {
  std::error_code error;
  if (dir.empty() || std::filesystem::is_directory(dir, error)) return !dir.empty();
  if (dir.has_parent_path() && dir.parent_path() != dir) createPrivateDirectories(dir.parent_path());
  return ::mkdir(dir.c_str(), 0700) == 0 || (errno == EEXIST && std::filesystem::is_directory(dir, error));
}

bool readableByOthers(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(linkTarget(path).c_str(), &st) == 0 && (st.st_mode & (S_IRGRP | S_IROTH)) != 0;
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool replaceFileBytes(const std::filesystem::path& link, std::string_view bytes, FileAccess access) {
  const std::filesystem::path path = linkTarget(link);
  struct stat old {};
  bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return false;
  if (!exists && path.has_parent_path()) createPrivateDirectories(path.parent_path());

  std::filesystem::path temporary = temporaryPathFor(path);
  // The settings hold the router's password: nobody else gets to read what
  // is written here unless the user has allowed it on the old file.
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  mode_t mode = exists ? old.st_mode & 07777 : 0600;
  if (access == FileAccess::kOwnerOnly) mode &= ~mode_t{077};
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace tarvik

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

#include "engine/base/filebytes.h"

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

std::error_code lastError() { return {errno, std::generic_category()}; }

// Why an open file is not one to read or write whole: a folder, or
// something that is not a regular file.
std::error_code notAFile(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return lastError();
  if (S_ISDIR(st.st_mode)) return std::make_error_code(std::errc::is_a_directory);
  if (!S_ISREG(st.st_mode)) return notRegularFile();
  return {};
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

// The folder cannot take the new file (a read-only folder beside a file the
// user may write, or no free entry left): the old file is written where it
// lies. That is not crash-safe, but it is the only way the change is kept.
// The space is reserved first, so a full disk refuses before the old bytes
// are touched.
bool overwriteInPlace(const std::filesystem::path& path, std::string_view bytes, mode_t mode, off_t oldSize) {
  // Opened without waiting: a FIFO put in the file's place is refused.
  int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  if (notAFile(fd)) {
    ::close(fd);
    return false;
  }
  const off_t size = static_cast<off_t>(bytes.size());
  bool ok = size == 0 || ::posix_fallocate(fd, 0, size) == 0;
  if (!ok) {
    // A reservation that failed half-way may have grown the file.
    [[maybe_unused]] int undone = ::ftruncate(fd, oldSize);
  } else {
    // A file that is not ours keeps its permissions: the write matters more.
    [[maybe_unused]] int changed = ::fchmod(fd, mode);
    ok = writeAll(fd, bytes) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
  }
  return ::close(fd) == 0 && ok;
}

bool cannotTakeANewFile(int error) {
  return error == EACCES || error == EPERM || error == ENOSPC || error == EDQUOT;
}

}  // namespace

FileRead readFile(const std::filesystem::path& path) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {std::nullopt, lastError()};
  FileRead result;
  result.error = notAFile(fd);
  std::string bytes;
  char buffer[65536];
  while (!result.error) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) result.error = lastError();
    if (got <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  if (!result.error) result.bytes = std::move(bytes);
  return result;
}

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

bool replaceFileBytes(const std::filesystem::path& path, std::string_view bytes, FileAccess access) {
  // Through a link to the file it names, so the link stays a link.
  const std::filesystem::path target = linkTarget(path);
  struct stat old {};
  bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
  if (!exists && target.has_parent_path()) createPrivateDirectories(target.parent_path());

  std::filesystem::path temporary = temporaryPathFor(target);
  // The settings hold the router's password: nobody else gets to read what
  // is written here unless the user has allowed it on the old file.
  mode_t mode = exists ? old.st_mode & 07777 : 0600;
  if (access == FileAccess::kOwnerOnly) mode &= ~mode_t{077};
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return exists && cannotTakeANewFile(errno) && overwriteInPlace(target, bytes, mode, old.st_size);
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace tarvik

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <system_error>

#include "engine/base/filebytes.h"

namespace tarvik {
namespace {

// A name for the new file beside the target that no other writer in this or
// another process uses at the same time.
std::filesystem::path temporaryPathFor(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temporary = path;
  temporary += L".tmp." + std::to_wstring(::GetCurrentProcessId()) + L"." + std::to_wstring(counter++);
  return temporary;
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  bool close() {
    if (!valid()) return true;
    const bool ok = ::CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

bool writeAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

// Who may read a file on Windows is the folder's access list, inherited by
// every file made in it (the user's own for %APPDATA%); the program keeps
// to it and has no owner-only bits to set or to check.
FileRead readFile(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found)
    return {std::nullopt, std::make_error_code(std::errc::no_such_file_or_directory)};
  if (error) return {std::nullopt, error};
  if (std::filesystem::is_directory(status))
    return {std::nullopt, std::make_error_code(std::errc::is_a_directory)};
  if (!std::filesystem::is_regular_file(status)) return {std::nullopt, notRegularFile()};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {std::nullopt, std::make_error_code(std::errc::permission_denied)};
  try {
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return {std::nullopt, std::make_error_code(std::errc::io_error)};
    return {std::move(bytes), {}};
  } catch (const std::ios_base::failure&) {
    return {std::nullopt, std::make_error_code(std::errc::io_error)};
  }
}

bool createPrivateDirectories(const std::filesystem::path& dir) {
  std::error_code error;
  if (dir.empty()) return false;
  std::filesystem::create_directories(dir, error);
  return std::filesystem::is_directory(dir, error);
}

bool readableByOthers(const std::filesystem::path&) { return false; }

bool replaceFileBytes(const std::filesystem::path& path, std::string_view bytes, FileAccess) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  // A read-only file is refused, as the system's profile writer refuses it.
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;
  if (!exists && path.has_parent_path()) createPrivateDirectories(path.parent_path());

  const std::filesystem::path temporary = temporaryPathFor(path);
  FileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  bool ok = writeAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
  ok = file.close() && ok;
  // The new file keeps the old one's attributes (hidden, archive ...).
  if (ok && exists) ::SetFileAttributesW(temporary.c_str(), attributes);
  if (ok) {
    ok = ::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!ok) ::DeleteFileW(temporary.c_str());
  return ok;
}

}  // namespace tarvik

#include <windows.h>

#include "engine/journal/syncedappend.h"

namespace tarvik {
namespace {

// The system's error as the portable code the journal's messages know, so
// that both platforms tell a full disk or a refused file alike.
std::error_code lastError() {
  struct Known {
    DWORD win;
    std::errc code;
  };
  static constexpr Known kKnown[] = {
      {ERROR_ACCESS_DENIED, std::errc::permission_denied},
      {ERROR_SHARING_VIOLATION, std::errc::permission_denied},
      {ERROR_WRITE_PROTECT, std::errc::read_only_file_system},
      {ERROR_DISK_FULL, std::errc::no_space_on_device},
      {ERROR_HANDLE_DISK_FULL, std::errc::no_space_on_device},
      {ERROR_PATH_NOT_FOUND, std::errc::no_such_file_or_directory},
  };
  const DWORD error = ::GetLastError();
  for (const Known& k : kKnown)
    if (k.win == error) return std::make_error_code(k.code);
  return {static_cast<int>(error), std::system_category()};
}

}  // namespace

// The profile folder that holds the journal is the user's own, so the file
// takes that folder's permissions.
std::error_code appendSynced(const std::filesystem::path& path, std::string_view bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lastError();
  std::error_code error;
  while (!error && !bytes.empty()) {
    DWORD written = 0;
    if (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) == 0)
      error = lastError();
    bytes.remove_prefix(written);
  }
  if (!error && ::FlushFileBuffers(file) == 0) error = lastError();
  if (::CloseHandle(file) == 0 && !error) error = lastError();
  return error;
}

}  // namespace tarvik

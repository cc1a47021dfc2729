#include <windows.h>

#include "journal/syncedappend.h"

namespace tarvik {

// The profile folder that holds the journal is the user's own, so the file
// takes that folder's permissions.
bool appendSynced(const std::filesystem::path& path, std::string_view bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    DWORD written = 0;
    ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
    bytes.remove_prefix(written);
  }
  ok = ok && ::FlushFileBuffers(file) != 0;
  return ::CloseHandle(file) != 0 && ok;
}

}  // namespace tarvik

#include <windows.h>

#include <cstdlib>
#include <string>

#include "engine/settings/configdirplatform.h"

namespace tarvik::configdir {

namespace {

// Asking the folder's security settings is not enough (a read-only share, a
// full disk), so try it.
bool canCreateFileIn(const std::filesystem::path& dir) {
  const std::filesystem::path probe = dir / (L"tarvik-probe-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp");
  HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

}  // namespace

bool programFolderKeepsSettings(const std::filesystem::path& exeDir) {
  std::error_code error;
  return std::filesystem::exists(exeDir / "Tarvik.ini", error) || canCreateFileIn(exeDir);
}

// %APPDATA%\Tarvik; the program's folder when there is no %APPDATA%.
std::filesystem::path userConfigDir(const std::filesystem::path& exeDir) {
  const wchar_t* appData = ::_wgetenv(L"APPDATA");
  if (!appData || !*appData) return exeDir;
  return std::filesystem::path(appData) / "Tarvik";
}

}  // namespace tarvik::configdir

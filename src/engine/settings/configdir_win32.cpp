#include <windows.h>

#include <cstdlib>
#include <system_error>

#include "settings/settingsfiles.h"

namespace tarvik {
namespace {

// Whether a new file can be made in dir: asking the folder's security
// settings is not enough (a read-only share, a full disk), so try it.
bool canCreateFileIn(const std::filesystem::path& dir) {
  const std::filesystem::path probe = dir / (L"tarvik-probe-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp");
  HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

std::filesystem::path appDataDir() {
  if (const wchar_t* appData = ::_wgetenv(L"APPDATA"); appData && *appData) return appData;
  return {};
}

}  // namespace

// Beside the program, as the settings have always been kept on Windows;
// a program installed where it cannot write (Program Files) keeps them in
// %APPDATA%\Tarvik instead.
std::filesystem::path findConfigDir(const std::filesystem::path& explicitDir,
                                    const std::filesystem::path& exeDir) {
  if (!explicitDir.empty()) return explicitDir;
  if (!exeDir.empty()) {
    std::error_code error;
    if (std::filesystem::exists(exeDir / "Tarvik.ini", error) || canCreateFileIn(exeDir)) return exeDir;
  }
  const std::filesystem::path appData = appDataDir();
  if (appData.empty()) return exeDir;
  return appData / "Tarvik";
}

}  // namespace tarvik

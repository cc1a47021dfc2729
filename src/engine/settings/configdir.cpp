#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "settings/settingsfiles.h"

namespace tarvik {
namespace {

std::filesystem::path homeDir() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return {};
}

}  // namespace

std::filesystem::path findConfigDir(const std::filesystem::path& explicitDir,
                                    const std::filesystem::path& exeDir) {
  if (!explicitDir.empty()) return explicitDir;
  if (!exeDir.empty()) {
    std::error_code error;
    if (std::filesystem::exists(exeDir / "Tarvik.ini", error) ||
        ::faccessat(AT_FDCWD, exeDir.c_str(), W_OK, AT_EACCESS) == 0) {
      return exeDir;
    }
  }
  // XDG asks that a relative $XDG_CONFIG_HOME be ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg && std::filesystem::path(xdg).is_absolute()) return std::filesystem::path(xdg) / "tarvik";
  return homeDir() / ".config" / "tarvik";
}

}  // namespace tarvik

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "engine/settings/configdirplatform.h"

namespace tarvik::configdir {
namespace {

std::filesystem::path homeDir() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return {};
}

}  // namespace

bool programFolderKeepsSettings(const std::filesystem::path& exeDir) {
  struct stat file {};
  return ::stat((exeDir / "Tarvik.ini").c_str(), &file) == 0 && file.st_uid == ::geteuid();
}

// $XDG_CONFIG_HOME/tarvik, else ~/.config/tarvik.
std::filesystem::path userConfigDir(const std::filesystem::path&) {
  // XDG asks that a relative $XDG_CONFIG_HOME be ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg && std::filesystem::path(xdg).is_absolute()) return std::filesystem::path(xdg) / "tarvik";
  return homeDir() / ".config" / "tarvik";
}

}  // namespace tarvik::configdir

#include "posix/programdata.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#ifndef TARVIK_DATA_FROM_BINDIR
#define TARVIK_DATA_FROM_BINDIR "../share/tarvik"
#endif
#ifndef TARVIK_DATA_FROM_LIBEXECDIR
#define TARVIK_DATA_FROM_LIBEXECDIR "../../share/tarvik"
#endif

namespace tarvik::app {

namespace fs = std::filesystem;

std::vector<fs::path> programDataDirectories() {
  std::vector<fs::path> dirs;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path exeDir = exe.parent_path();
    dirs.push_back(exeDir);
    for (const char* dataDir : {TARVIK_DATA_FROM_BINDIR, TARVIK_DATA_FROM_LIBEXECDIR}) {
      dirs.push_back((exeDir / dataDir).lexically_normal());
    }
  }
  const char* home = std::getenv("HOME");
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && *dataHome) dirs.push_back(fs::path(dataHome) / "tarvik");
  else if (home && *home) dirs.push_back(fs::path(home) / ".local/share/tarvik");
  const char* dataDirs = std::getenv("XDG_DATA_DIRS");
  std::istringstream list(dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share");
  for (std::string dir; std::getline(list, dir, ':');) {
    if (!dir.empty()) dirs.push_back(fs::path(dir) / "tarvik");
  }
  std::vector<fs::path> unique;
  for (const fs::path& d : dirs) {
    if (std::find(unique.begin(), unique.end(), d) == unique.end()) unique.push_back(d);
  }
  return unique;
}

}  // namespace tarvik::app

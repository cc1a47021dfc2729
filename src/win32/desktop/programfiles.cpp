#include "win32/desktop/programfiles.h"

#include "win32/programdir.h"

#include <string>
#include <system_error>

namespace tarvik::win32 {

std::filesystem::path findProgramFile(const std::filesystem::path& relative) {
  std::error_code error;
  for (const std::filesystem::path& dir : {executableDir(), std::filesystem::current_path(error)}) {
    if (dir.empty()) continue;
    const std::filesystem::path candidate = dir / relative;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return {};
}

}  // namespace tarvik::win32

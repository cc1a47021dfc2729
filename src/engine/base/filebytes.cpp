// What reading and writing whole files does alike on every platform; the
// crash-safe write is in the file pair filebytes_posix.cpp /
// filebytes_win32.cpp.

#include "engine/base/filebytes.h"

#include <fstream>
#include <iterator>

namespace tarvik {

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  try {
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
  } catch (const std::ios_base::failure&) {
    return std::nullopt;  // the stream opened, but reading failed (a folder, an I/O error)
  }
}

}  // namespace tarvik

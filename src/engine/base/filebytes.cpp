// What reading and writing whole files does alike on every platform; the
// reading and the crash-safe write are in the file pair filebytes_posix.cpp /
// filebytes_win32.cpp.

#include "engine/base/filebytes.h"

namespace tarvik {
namespace {

class NotRegularFileCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "tarvik-file"; }
  std::string message(int) const override { return "not a regular file (a FIFO, a socket or a device)"; }
};

}  // namespace

std::error_code notRegularFile() {
  static const NotRegularFileCategory category;
  return {1, category};
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path) { return readFile(path).bytes; }

}  // namespace tarvik

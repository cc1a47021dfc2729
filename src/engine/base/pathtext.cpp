#include "engine/base/pathtext.h"

namespace tarvik {

// char8_t text is UTF-8 on every platform: the library converts it to the
// system's own encoding of file names (UTF-16 on Windows).
std::filesystem::path pathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tarvik

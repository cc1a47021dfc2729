#include "headless/xdgbrowser.h"

#include <filesystem>

#include "engine/base/bytes.h"

namespace tarvik::app {
namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> XdgBrowser::commandFor(const std::string& address) {
  const std::string text(trimBlanks(address));
  if (text.empty()) return {};
  for (std::string_view scheme : {"http://", "https://", "file:"}) {
    if (startsWithNoCase(text, scheme)) return {"xdg-open", text};
  }
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(text, ec);
  return {"xdg-open", ec ? text : absolute.string()};
}

void XdgBrowser::open(const std::string& address) {
  const std::vector<std::string> argv = commandFor(address);
  if (!argv.empty()) start_(argv);
}

}  // namespace tarvik::app

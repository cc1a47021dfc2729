#include "app/secondstart.h"

namespace tarvik::app {

std::string encodeSecondStart(const std::vector<std::string>& words) {
  std::string message;
  for (const std::string& word : words) {
    // A word cannot hold a NUL on a command line; one that did would split.
    const std::string whole = word.substr(0, word.find('\0'));
    if (whole.empty()) continue;
    if (message.size() + whole.size() + 2 > kSecondStartMaxBytes) break;  // the words that fit
    message += whole;
    message += '\0';
  }
  message += '\0';
  return message;
}

std::optional<std::vector<std::string>> decodeSecondStart(const std::string& bytes) {
  std::vector<std::string> words;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = bytes.find('\0', start);
    if (end == std::string::npos) return std::nullopt;
    if (end == start) return words;
    words.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace tarvik::app

#include "fakes/transcript.h"

#include <fstream>
#include <iterator>

#include "engine/base/sjis.h"

namespace tarvik::test {

std::string routerText(std::string_view text) {
  std::string sjis = toSjis(text);
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 16);
  for (char c : sjis) {
    out += c;
    if (c == '\n') out += '\r';
  }
  return out;
}

std::string loadTranscript(const std::string& name) {
  std::ifstream in(std::string(TARVIK_CONSOLE_FIXTURES) + "/" + name + ".txt", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return routerText(text);
}

std::string consoleFixture(const std::string& fileName) {
  std::ifstream in(std::string(TARVIK_CONSOLE_FIXTURES) + "/" + fileName, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> splitAnswers(std::string_view text) {
  std::vector<std::string> answers;
  std::size_t answerStart = 0;
  std::size_t lineStart = 0;
  while (lineStart < text.size()) {
    std::size_t lineFeed = text.find('\n', lineStart);
    if (lineFeed == std::string_view::npos) break;
    std::size_t next = lineFeed + 1;
    if (next < text.size() && text[next] == '\r') ++next;
    if (text.substr(lineStart, lineFeed - lineStart).find("% ") != std::string_view::npos) {
      answers.emplace_back(text.substr(answerStart, next - answerStart));
      answerStart = next;
    }
    lineStart = next;
  }
  if (answerStart < text.size()) answers.emplace_back(text.substr(answerStart));
  return answers;
}

std::string utf8(std::string_view sjis) { return toUtf8(sjis); }

}  // namespace tarvik::test
